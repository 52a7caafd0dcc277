// Runs the stashwell-setup executable and collects what it writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace setuptest {

struct Run {
    int exitCode;
    std::string out;
    std::string err;
};

// Runs stashwell-setup with the arguments, without standard input.
Run RunSetup(const std::vector<std::string>& arguments);

// The source tree's examples/machines/NAME and tests/detect/fixtures/NAME.
std::string ExampleMachine(const std::string& name);
std::string ExportedFixture(const std::string& name);

// A folder that exists for the length of a test: a drive's folder, or a
// place for files the test writes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    // "E=FOLDER" for --drive.
    std::string Mapping(char letter) const { return std::string(1, letter) + "=" + path_.string(); }
    // Writes a file into the folder; its path.
    std::string Write(const std::string& name, const std::string& contents) const;

  private:
    std::filesystem::path path_;
};

}  // namespace setuptest
