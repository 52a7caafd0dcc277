// Runs stashwell-setup, or an installer packed from it, with scripted input on
// drives that are folders of the test, and collects what it shows.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace setuptest {

namespace fs = std::filesystem;

inline std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A host folder that exists for the length of a test.
struct TempFolder {
    std::string path = (fs::temp_directory_path() / "stashwell-setup-XXXXXX").string();
    TempFolder() { EXPECT_NE(mkdtemp(path.data()), nullptr); }
    ~TempFolder() { fs::remove_all(path); }
    // Writes a file into the folder; its path.
    std::string Write(const std::string& name, const std::string& contents) const {
        std::ofstream(path + "/" + name, std::ios::binary) << contents;
        return path + "/" + name;
    }
};

struct Run {
    int exitCode;
    std::string out, err;
};

// Folders of drives E: and F: and for files a test writes, in texts $E, $F and
// $T; $M, the sample machines' folder, $X, that of exported registries, and $S
// this one.
struct Places {
    TempFolder e, f, t;
    std::string Expand(std::string text) const {
        const std::string source = STASHWELL_SOURCE_DIR;
        const std::pair<std::string, std::string> names[] = {
            {"$E", e.path},
            {"$F", f.path},
            {"$T", t.path},
            {"$M", source + "/examples/machines"},
            {"$X", source + "/tests/detect/fixtures"},
            {"$S", source + "/tests/setup"}};
        for (const auto& [name, place] : names) {
            for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
                text.replace(at, name.size(), place);
            }
        }
        return text;
    }
    // The program with the words of the line, each expanded and quoted for
    // the shell, its standard input the given text.
    Run Setup(const std::string& line, const std::string& input = "",
              const std::string& program = STASHWELL_SETUP_PATH) const {
        std::string command = "'" + program + "'";
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            command += " '" + Expand(word) + "'";
        }
        const TempFolder io;
        command += " <" + io.Write("in", input) + " >" + io.path + "/out 2>" + io.path + "/err";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(io.path + "/out"),
                Slurp(io.path + "/err")};
    }
};

// The sample Orca machine of the 95 family with its drive at another letter.
inline std::string OrcaNineXAt(const std::string& letter) {
    std::string registry = Slurp(STASHWELL_SOURCE_DIR "/examples/machines/orca-slim-9x.reg");
    const std::string assignment = "CurrentDriveLetterAssignment\"=\"";
    return registry.replace(registry.find(assignment) + assignment.size(), 1, letter);
}

// Each part stands in the text after the one before it.
inline void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    std::size_t from = 0;
    for (const std::string& part : parts) {
        const std::size_t at = text.find(part, from);
        ASSERT_NE(at, std::string::npos) << part << "\nis missing, or out of order, in:\n" << text;
        from = at + 1;
    }
}

}  // namespace setuptest
