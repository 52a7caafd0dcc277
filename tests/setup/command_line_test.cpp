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

TEST(SetupCommandLine, EachCommandLineGetsItsAnswerOrItsRefusal) {
    const setuptest::Places places;
    // clang-format off
    const std::string orca = "--registry $M/orca-slim-nt.reg", explain = " --detect --explain",
        usbstor = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\USBSTOR\\Enum",
        mounts = "  query HKEY_LOCAL_MACHINE\\System\\MountedDevices \"\\DosDevices\\",
        noHome = "the current directory cannot be sized, or no memory can be had for it",
        none = "drive=none variant=-1 mix=", bad = "stashwell-setup: ",
        denied = "[stashwell-setup] System Error: Access is denied.\n!\n";
    // An Orca disk at 0xFF; a stick named with an escape sequence, a bell and a C1
    // control, a value (UTF-16 hex) with a line break; files that are no registry.
    places.t.Write("odd.reg", setuptest::OrcaNineXAt("\xff"));
    places.t.Write("hostile.reg", "Windows Registry Editor Version 5.00\n\n[" + usbstor + "]\n"
                   "\"0\"=\"USB\\\\VID_3107&PID_2619\x1b[31m\x07\xc2\x81\"\n"
                   "\"1\"=hex(1):41,00,0a,00,42,00,00,00\n\"Count\"=dword:2\n");
    places.t.Write("broken.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\System]\r\n\"C\"=dword:xyz");
    places.t.Write("c.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SYS\n");
    places.t.Write("root.reg", "REGEDIT4\n[HKEY_\x1b[2J\x7f]\n");
    struct Case {
        std::string line;
        int exitCode;
        std::vector<std::string> out;  // its lines, in this order; none: no output
        std::string err;
    };
    const Case cases[] = {
        {orca + " --drive E=$E --drive f=$F --detect", 0, {"drive=E variant=1 mix=2"}, ""},
        {orca + " --detect", 0, {none + "2"}, ""},  // E: not mapped, so no logical drive
        {"--family 9x --registry $M/orca-slim-9x.reg --detect", 0, {"drive=E variant=1 mix=2"}, ""},
        {"--registry $X/wine-system-orca-slim-nt.reg --drive E=$E --detect", 0,
         {"drive=E variant=1 mix=2"}, ""},
        {"--family 9x --registry $X/wine-dyn-data-orca-slim-9x.reg --registry "
         "$X/wine-enum-orca-slim-9x.reg --detect", 0, {"drive=E variant=1 mix=2"}, ""},
        {"--family 9x --registry $T/odd.reg --detect", 0, {"drive=255 variant=1 mix=2"}, ""},
        {orca + " --drive E=$E --cwd-error --detect", 0, {none + "2"}, denied},
        {"--drive E=$E --tree e:", 0, {"E:\\ (empty)"}, ""},
        {"--tree Q", 0, {"drive Q: is not there"}, ""},
        {"--version", 0, {"stashwell-setup " STASHWELL_VERSION}, ""},
        {"--help", 0, {"Usage: stashwell-setup [OPTIONS]"}, ""},
        {orca + " --drive E=$E" + explain, 0, {"Detection on the NT family",
          "  query " + usbstor + " \"Count\" -> 0: REG_DWORD 1",
          "Step 1, g_OrcaSlimIds, disk \"USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim\":",
          mounts + "C:\" -> 0: REG_BINARY \"8a 3f 1c 52 00 7e 00 00 00 00 00 00\"",
          mounts + "E:\" -> 0: REG_BINARY as UTF-16 \"\\??\\STORAGE#RemovableMedia#7&2f5e8a1c&0&"
          "RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}\"", "Verdict: drive E, variant 1 (Orca), "
          "from step 1: no letter is the home letter: the first step with a letter wins"}, ""},
        {orca + explain, 0, {mounts + "Z:\" -> 2 (The system cannot find the file specified.)",
          "  letter none: not a logical drive: the letters mounted on the disk's volume are not "
          "among the logical drives", "Verdict: drive none, variant -1: no step gave a letter"},
         ""},
        {"--registry $M/kestrel-prism-nt.reg --drive F=$F --cwd F:\\S" + explain, 0,
         {"Home letter: F, the current directory's first character", "  letter none: group "
          "filtered out on the NT family: letter F dropped, as DriveMix 1 is not 2 or 6",
          "Verdict: drive F, variant 2 (Kestrel), from step 4: its letter is the home letter: "
          "the drive of the current directory is preferred"}, ""},
        {"--registry $M/no-drive-nt.reg --no-cwd" + explain, 0, {"Home letter: none, the current "
          "directory can be sized but not read (home letter 255)", "  DriveMix 0: no supported "
          "drive", "Verdict: drive none, variant -1: the device count found no supported drive"},
         ""},
        {"--cwd-error" + explain, 0, {"Home letter: none, " + noHome, "Verdict: drive none, "
          "variant -1: " + noHome + ": detection ends with a message"}, denied},
        {"--family 9x --registry $M/orca-slim-9x.reg" + explain, 0, {"Detection on the 95 family",
          "  enum HKEY_DYN_DATA\\Config Manager\\Enum #0 -> 0: \"C1A2B0C0\"",
          "  entry \"USB\\VID_3107&PID_9340\":", "    -> letter E: a letter", "  letter E",
          "  letter none: no entry of the list gave a letter"}, ""},
        {"--registry $T/hostile.reg" + explain, 0, {"  query " + usbstor + " \"1\" -> 0: REG_SZ "
          "\"A\\nB\"", "  third group: \"USB\\VID_3107&PID_2619\\x1b[31m\\x07\\u0081\" matched "
          "g_CountOnlyIds entry \"USB\\VID_3107&PID_2619\""}, ""},
        {orca + " --registry $T/broken.reg --detect", 1, {},
         "$T/broken.reg:4: dword: must be followed by up to 8 hex digits\n"},
        {"--registry $T/c.reg --detect", 1, {}, "$T/c.reg:3: key line does not end with ']'\n"},
        {"--registry $T/root.reg --detect", 1, {},
         "$T/root.reg:2: unknown root key \"HKEY_\\x1b[2J\\x7f\"\n"},
        {"--registry $T --detect", 1, {}, "$T: cannot be read: is a folder\n"},
        {"--drive E=/no/such --detect", 1, {}, "drive E: no folder /no/such\n"},
        {"--installer $T", 2, {}, bad + "--installer: cannot read the installer $T: is a folder\n"},
        {"--drive 7=/tmp", 2, {}, bad + "--drive: expected LETTER=FOLDER, such as E=/tmp/stick\n"},
        {"--drive E/tmp", 2, {}, bad + "--drive: expected LETTER=FOLDER, such as E=/tmp/stick\n"},
        {"--family nt4", 2, {}, bad + "--family: nt4 not in {nt,9x}\n"},
        {"--no-cwd --cwd-error", 2, {}, bad + "--no-cwd excludes --cwd-error\n"},
        {"--cwd D:\\ --cwd-error", 2, {}, bad + "--cwd excludes --cwd-error\n"},
        {"--detect --tree E", 2, {}, bad + "--detect excludes --tree\n"},
        {"--tree EF", 2, {}, bad + "--tree: expected a drive letter, such as E\n"},
        {"--explain", 2, {}, bad + "--explain requires --detect\n"},
        {"--detect --json", 2, {}, bad + "--json requires --explain\n"},
        {"--bogus\x1b", 2, {}, bad + "The following argument was not expected: --bogus\\x1b\n"},
    };
    // clang-format on
    for (const Case& expected : cases) {
        const setuptest::Run run = places.Setup(expected.line);
        EXPECT_EQ(run.exitCode, expected.exitCode) << expected.line;
        EXPECT_EQ(run.err, places.Expand(expected.err)) << expected.line;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << expected.line;
        EXPECT_EQ(run.out.empty(), expected.out.empty()) << expected.line;
        std::vector<std::string> lines;
        for (const std::string& line : expected.out) {
            lines.push_back("\n" + line + "\n");
        }
        setuptest::ExpectInOrder("\n" + run.out, lines);
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
