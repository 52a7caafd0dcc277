// Runs stashwell-setup, or an installer packed from it, as a person at a
// terminal would but with scripted input, on drives that are folders of the
// test, and collects what it shows.
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

// A host folder that exists for the length of a test.
class TempFolder {
  public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }
    // Writes a file into the folder; its path.
    std::string Write(const std::string& name, const std::string& contents) const;

  private:
    std::filesystem::path path_;
};

// The folders of drives E: and F: and one for files a test writes, which
// texts name $E, $F and $T; $M names the sample machines' folder and $X that
// of the registries exported by a registry editor.
struct Places {
    TempFolder e, f, t;
    std::string Expand(std::string text) const;
    // The program (stashwell-setup unless given) with the words of the line,
    // each expanded, its standard input the given text.
    Run Setup(const std::string& line, const std::string& input = "",
              const std::string& program = STASHWELL_SETUP_PATH) const;
};

std::string Slurp(const std::filesystem::path& path);

// Each part stands in the text after the one before it.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts);

}  // namespace setuptest
