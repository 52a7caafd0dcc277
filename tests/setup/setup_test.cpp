// stashwell-setup run end to end, or an installer packed from it, with scripted
// input on drives that are folders of the test: its one-shot answers and its
// JSON, misuse refused, and its wizard in the terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include "installer_build.h"
#include "stashwell_version.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A host folder that exists for the length of a test.
struct TempFolder {
    std::string path = (fs::temp_directory_path() / "stashwell-setup-XXXXXX").string();
    TempFolder() { EXPECT_NE(mkdtemp(path.data()), nullptr); }
    ~TempFolder() { fs::remove_all(path); }
    std::string Write(const std::string& name, const std::string& contents) const {
        std::ofstream(path + "/" + name, std::ios::binary) << contents;
        return path + "/" + name;
    }
};

struct Output {
    int exitCode;
    std::string out, err;
};

// The sample installer: stashwell-setup packed with the sample modules, under
// a name with an escape sequence, which its message boxes take as caption.
std::string Installer() {
    static const TempFolder packed;
    static const std::string path = [] {
        const std::string file = packed.path + "/Stash\x1b[1mSetup";
        pack::BuildInstaller(STASHWELL_SETUP_PATH,
                             STASHWELL_SOURCE_DIR "/examples/payload/manifest.json", file);
        return file;
    }();
    return path;
}

// Folders of drives E: and F: and for files a test writes, in texts $E, $F and
// $T; $M, the sample machines' folder, $X, that of exported registries, $S
// this one, and @VERSION@.
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
            {"$S", source + "/tests/setup"},
            {"@VERSION@", STASHWELL_VERSION}};
        for (const auto& [name, place] : names) {
            for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
                text.replace(at, name.size(), place);
            }
        }
        return text;
    }
    // The program with the words of the line, each expanded and quoted for
    // the shell, its standard input the given text.
    Output Setup(const std::string& line, const std::string& input = "",
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

// Each part stands in the text after the one before it.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    std::size_t from = 0;
    for (const std::string& part : parts) {
        const std::size_t at = text.find(part, from);
        ASSERT_NE(at, std::string::npos) << part << "\nis missing, or out of order, in:\n" << text;
        from = at + 1;
    }
}

// The cases of a file, as its first lines tell; each case runs on fresh places.
void RunCases(const char* name, std::size_t count) {
    struct Case {
        std::string program, line, input, err;
        std::vector<std::string> old, out, hidden;
        int exitCode = 0;
    };
    std::vector<Case> cases;
    std::istringstream file(Slurp(STASHWELL_SOURCE_DIR "/tests/setup/" + std::string(name)));
    for (std::string line; std::getline(file, line);) {
        const std::string text = line.substr(std::min<std::size_t>(2, line.size()));
        if (line[0] == '$' || line[0] == '%') {
            cases.emplace_back().program = line[0] == '$' ? STASHWELL_SETUP_PATH : Installer();
            cases.back().line = text;
        } else if (line[0] == '=') {
            cases.back().exitCode = std::stoi(text);
        } else if (line[0] == '>' || line[0] == '&') {
            (line[0] == '>' ? cases.back().out.emplace_back("\n") : cases.back().out.back()) +=
                text + "\n";
        } else if (std::string("!<+-").find(line[0]) != std::string::npos) {
            std::string& to = line[0] == '!' ? cases.back().err : cases.back().input;
            (line[0] == '+'   ? cases.back().old.emplace_back()
             : line[0] == '-' ? cases.back().hidden.emplace_back()
                              : to) += text + (line[0] == '!' || line[0] == '<' ? "\n" : "");
        }
    }
    EXPECT_EQ(cases.size(), count);
    for (const Case& expected : cases) {
        const Places places;
        for (const std::string& old : expected.old) {
            places.e.Write(old, "old");
        }
        Output run = places.Setup(expected.line, places.Expand(expected.input), expected.program);
        if (!expected.input.empty()) {
            run.out += places.Setup("--drive E=$E --tree E").out;
        }
        EXPECT_EQ(run.exitCode, expected.exitCode) << expected.line;
        EXPECT_EQ(run.err, places.Expand(expected.err)) << expected.line;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << expected.line;
        EXPECT_EQ(run.out.empty(), expected.out.empty()) << expected.line;
        std::vector<std::string> out;
        for (const std::string& part : expected.out) {
            out.push_back(places.Expand(part));
        }
        ExpectInOrder("\n" + run.out, out);
        for (const std::string& hidden : expected.hidden) {
            EXPECT_EQ(run.out.find(hidden), std::string::npos) << hidden << " in:\n" << run.out;
        }
    }
}

TEST(SetupCommandLine, EachCommandLineGetsItsAnswerOrItsRefusal) {
    RunCases("command_lines.txt", 32);
}

TEST(WizardSession, EachSessionShowsItsSheetBoxesAndAnswers) {
    RunCases("sessions.txt", 6);
}

// Keys that only one family's trail has: index, subkey and usbId on the 95
// family, utf16 on the NT family.
TEST(SetupCommandLine, JsonNamesEveryPartOfBothFamiliesTrails) {
    const Places places;
    std::set<std::string> keys;
    for (const std::string machine :
         {"nt --registry $M/orca-slim-nt.reg --drive E=$E", "9x --registry $M/orca-slim-9x.reg"}) {
        const Output run = places.Setup("--family " + machine + " --detect --explain --json");
        EXPECT_TRUE(nlohmann::json::accept(run.out)) << run.out;
        const std::regex key("\"(\\w+)\":");
        for (std::sregex_iterator at(run.out.begin(), run.out.end(), key), end; at != end; ++at) {
            keys.insert((*at)[1]);
        }
    }
    std::istringstream names(
        "call code count data diskId drive entry family group groups homeLetter index key letter "
        "list lookups matched meaning mix registry result step steps subkey type usbId utf16 "
        "value variant verdict why");
    EXPECT_EQ(keys, std::set<std::string>(std::istream_iterator<std::string>(names), {}));
}

// Mended: registry drive letters that no --drive maps reached the host's folders.
TEST(WizardSession, DrivesOffTheMapReachNothingOfTheHost) {
    const Places places;
    const auto entries = [](const char* folder) {
        return std::set<fs::path>(fs::directory_iterator(folder), fs::directory_iterator());
    };
    const auto root = entries("/"), here = entries(".");
    // The Orca disk at C:, which is mapped to nothing; 95 family letters of no drive.
    std::string nt = Slurp(places.Expand("$M/orca-slim-nt.reg"));
    std::vector<std::pair<std::string, std::string>> cases = {
        {"nt", nt.replace(nt.find("DosDevices\\\\E:"), 14, "DosDevices\\\\C:")}};
    const std::string nineX = Slurp(places.Expand("$M/orca-slim-9x.reg")),
                      assignment = "CurrentDriveLetterAssignment\"=\"";
    for (const std::string letter : {"/", "\\\\", ".", "1", "Q", "\x1b"}) {
        cases.push_back({"9x", std::string(nineX).replace(
                                   nineX.find(assignment) + assignment.size(), 1, letter)});
    }
    for (const auto& [family, registry] : cases) {
        places.t.Write("machine.reg", registry);
        const Output run = places.Setup(
            "--family " + family + " --registry $T/machine.reg --drive E=$E --drive F=$F", "i\n",
            Installer());
        ExpectInOrder(run.out, {"  | Unable To Continue Installation!\n  | Good Bye!\n", "Cancel"});
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
        EXPECT_TRUE(fs::is_empty(places.e.path) && fs::is_empty(places.f.path)) << registry;
        EXPECT_TRUE(entries("/") == root && entries(".") == here) << registry;
    }
}

}  // namespace
