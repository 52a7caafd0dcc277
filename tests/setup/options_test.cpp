// stashwell-setup's options: the machine they describe from registry exports
// and drive folders, its one-line answers, and the refusal of misuse and of
// inputs that cannot be read, their texts escaped.
#include <gtest/gtest.h>

#include "setup_run.h"
#include "stashwell_version.h"

namespace {

TEST(SetupOptions, EachCommandLineGetsItsAnswerOrItsRefusal) {
    const setuptest::Places places;
    // An Orca disk at the letter 0xFF; files that are no registry.
    places.t.Write("odd.reg", setuptest::OrcaNineXAt("\xff"));
    places.t.Write("broken.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\System]\r\n\"C\"=dword:xyz");
    places.t.Write("cut.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SYS\n");
    places.t.Write("hostile.reg", "REGEDIT4\n[HKEY_\x1b[2J\x7f]\n");
    const std::string orca = "drive=E variant=1 mix=2\n",
                      none = "drive=none variant=-1 mix=", bad = "stashwell-setup: ";
    struct Case {
        std::string line;
        int exitCode;
        std::string out, err;
    };
    const Case cases[] = {
        {"--registry $M/orca-slim-nt.reg --drive E=$E --drive f=$F --detect", 0, orca, ""},
        // Its letter not mapped, the drive is no logical drive.
        {"--registry $M/orca-slim-nt.reg --detect", 0, none + "2\n", ""},
        {"--family 9x --registry $M/orca-slim-9x.reg --detect", 0, orca, ""},
        {"--registry $X/wine-system-orca-slim-nt.reg --drive E=$E --detect", 0, orca, ""},
        {"--family 9x --registry $X/wine-dyn-data-orca-slim-9x.reg --registry "
         "$X/wine-enum-orca-slim-9x.reg --detect",
         0, orca, ""},
        {"--family 9x --registry $T/odd.reg --detect", 0, "drive=255 variant=1 mix=2\n", ""},
        {"--registry $M/orca-slim-nt.reg --drive E=$E --cwd F:\\S --no-cwd --detect", 0, orca, ""},
        {"--registry $M/orca-slim-nt.reg --drive E=$E --cwd-error --detect", 0, none + "2\n",
         "[stashwell-setup] System Error: Access is denied.\n!\n"},
        {"--drive E=$E --tree e:", 0, "E:\\ (empty)\n", ""},
        {"--tree Q", 0, "drive Q: is not there\n", ""},
        {"--version", 0, "stashwell-setup " STASHWELL_VERSION "\n", ""},
        {"--registry $M/orca-slim-nt.reg --registry $T/broken.reg --detect", 1, "",
         "$T/broken.reg:4: dword: must be followed by up to 8 hex digits\n"},
        {"--registry $T/cut.reg --detect --explain", 1, "",
         "$T/cut.reg:3: key line does not end with ']'\n"},
        {"--registry $T/hostile.reg --detect", 1, "",
         "$T/hostile.reg:2: unknown root key \"HKEY_\\x1b[2J\\x7f\"\n"},
        {"--registry $T --detect", 1, "", "$T: cannot be read: is a folder\n"},
        {"--drive E=/no/such --detect", 1, "", "drive E: no folder /no/such\n"},
        {"--installer $T --detect", 2, "",
         bad + "--installer: cannot read the installer $T: is a folder\n"},
        {"--drive 7=/tmp", 2, "", bad + "--drive: expected LETTER=FOLDER, such as E=/tmp/stick\n"},
        {"--family nt4", 2, "", bad + "--family: nt4 not in {nt,9x}\n"},
        {"--no-cwd --cwd-error", 2, "", bad + "--no-cwd excludes --cwd-error\n"},
        {"--detect --tree E", 2, "", bad + "--detect excludes --tree\n"},
        {"--tree EF", 2, "", bad + "--tree: expected a drive letter, such as E\n"},
        {"--explain", 2, "", bad + "--explain requires --detect\n"},
        {"--detect --json", 2, "", bad + "--json requires --explain\n"},
        {"--bogus\x1b", 2, "", bad + "The following argument was not expected: --bogus\\x1b\n"},
    };
    for (const Case& expected : cases) {
        const setuptest::Run run = places.Setup(expected.line);
        EXPECT_EQ(run.exitCode, expected.exitCode) << expected.line;
        EXPECT_EQ(run.out, expected.out) << expected.line;
        EXPECT_EQ(run.err, places.Expand(expected.err)) << expected.line;
    }
}

TEST(SetupOptions, HelpTellsTheOptionsAndEndsWell) {
    const setuptest::Run run = setuptest::Places().Setup("--help");
    EXPECT_EQ(run.exitCode + run.err.size(), 0u) << run.err;
    setuptest::ExpectInOrder(run.out, {"Runs the Stashwell installer", "Usage: stashwell-setup"});
}

}  // namespace
