// stashwell-setup's one-shot answers on the machine its options describe, the
// trail of a detection (registry texts escaped) and its JSON; misuse refused.
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "setup_run.h"
#include "stashwell_version.h"

namespace {

struct Case {
    std::string line, err;
    int exitCode = 0;
    std::vector<std::string> out;  // "\n" + each line + "\n", in order; none: no output
};

// The cases of command_lines.txt, each from its "$ " line on.
std::vector<Case> ReadCases(const setuptest::Places& places) {
    std::vector<Case> cases;
    std::istringstream file(
        setuptest::Slurp(STASHWELL_SOURCE_DIR "/tests/setup/command_lines.txt"));
    for (std::string line; std::getline(file, line);) {
        std::string text = places.Expand(line.substr(std::min<std::size_t>(2, line.size())));
        if (const std::size_t at = text.find("@VERSION@"); at != std::string::npos) {
            text.replace(at, 9, STASHWELL_VERSION);
        }
        switch (line[0]) {
            case '$':
                cases.push_back({line.substr(2), "", 0, {}});
                break;
            case '=':
                cases.back().exitCode = std::stoi(text);
                break;
            case '>':
                cases.back().out.push_back("\n" + text + "\n");
                break;
            case '!':
                cases.back().err += text + "\n";
                break;
        }
    }
    return cases;
}

TEST(SetupCommandLine, EachCommandLineGetsItsAnswerOrItsRefusal) {
    const setuptest::Places places;
    const std::vector<Case> cases = ReadCases(places);
    EXPECT_EQ(cases.size(), 32u);
    for (const Case& expected : cases) {
        const setuptest::Run run = places.Setup(expected.line);
        EXPECT_EQ(run.exitCode, expected.exitCode) << expected.line;
        EXPECT_EQ(run.err, expected.err) << expected.line;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << expected.line;
        EXPECT_EQ(run.out.empty(), expected.out.empty()) << expected.line;
        setuptest::ExpectInOrder("\n" + run.out, expected.out);
    }
}

// Keys that only one family's trail has: index, subkey and usbId on the 95
// family, utf16 on the NT family.
TEST(SetupCommandLine, JsonNamesEveryPartOfBothFamiliesTrails) {
    const setuptest::Places places;
    std::set<std::string> keys;
    for (const std::string machine :
         {"nt --registry $M/orca-slim-nt.reg --drive E=$E", "9x --registry $M/orca-slim-9x.reg"}) {
        const setuptest::Run run =
            places.Setup("--family " + machine + " --detect --explain --json");
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

}  // namespace
