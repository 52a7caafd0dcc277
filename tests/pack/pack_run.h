// Runs the built stashwell-pack in a fresh folder under /tmp, removed when
// the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace packtest {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class PackTest : public ::testing::Test {
  public:
    static fs::path SamplePayload();
    static std::string ReadFile(const fs::path& path);
    static void WriteFile(const fs::path& path, const std::string& contents);
    // The files that lie below a folder, as relative paths.
    static std::vector<std::string> FilesBelow(const fs::path& folder);

  protected:
    PackTest();
    ~PackTest() override;

    // Runs stashwell-pack with the arguments, each passed as it is.
    Outcome Pack(const std::vector<std::string>& arguments) const;

    const fs::path& Dir() const { return dir_; }
    // A stub of a few KiB whose last bytes are not zero.
    fs::path WriteStub() const;
    // The sample payload packed behind the stub.
    fs::path BuildSample() const;

  private:
    fs::path dir_;
};

}  // namespace packtest
