// stashwell-setup --detect --explain: each machine's trail holds the lines
// that tell how its verdict came about, registry texts escaped; --json gives
// the document the text is told from.
#include <gtest/gtest.h>

#include <iterator>
#include <nlohmann/json.hpp>
#include <set>

#include "setup_run.h"

namespace {

void CollectKeys(const nlohmann::json& value, std::set<std::string>& keys) {
    for (const auto& [key, item] : value.items()) {
        if (value.is_object()) {
            keys.insert(key);
        }
        if (item.is_structured()) {
            CollectKeys(item, keys);
        }
    }
}

TEST(SetupExplain, EachMachinesTrailTellsHowItsVerdictCameAbout) {
    const setuptest::Places places;
    const std::string usbstor =
                          "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\USBSTOR"
                          "\\Enum",
                      mounts =
                          "  query HKEY_LOCAL_MACHINE\\System\\MountedDevices \"\\DosDevices\\",
                      noHome =
                          "the current directory cannot be sized, or no memory can be had for "
                          "it";
    // A stick whose instance path carries an escape sequence, a bell and a
    // C1 control, and a value (UTF-16 hex) that carries a line break.
    places.t.Write("hostile.reg", "Windows Registry Editor Version 5.00\n\n[" + usbstor +
                                      "]\n\"0\"=\"USB\\\\VID_3107&PID_2619\x1b[31m\x07\xc2\x81\"\n"
                                      "\"1\"=hex(1):41,00,0a,00,42,00,00,00\n\"Count\"=dword:2\n");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"--registry $M/orca-slim-nt.reg --drive E=$E",
         {"Detection on the NT family", "  query " + usbstor + " \"Count\" -> 0: REG_DWORD 1",
          "Step 1, g_OrcaSlimIds, disk \"USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim\":",
          mounts + "C:\" -> 0: REG_BINARY \"8a 3f 1c 52 00 7e 00 00 00 00 00 00\"",
          mounts + "E:\" -> 0: REG_BINARY as UTF-16 \"\\??\\STORAGE#RemovableMedia#7&2f5e8a1c&0&"
                   "RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}\"",
          "Verdict: drive E, variant 1 (Orca), from step 1: no letter is the home letter: the "
          "first step with a letter wins"}},
        {"--registry $M/orca-slim-nt.reg",
         {mounts + "Z:\" -> 2 (The system cannot find the file specified.)",
          "  letter none: not a logical drive: the letters mounted on the disk's volume are not "
          "among the logical drives",
          "  letter none: no disk entry: no disk of the disk service begins with the disk ID",
          "Verdict: drive none, variant -1: no step gave a letter"}},
        {"--registry $M/kestrel-prism-nt.reg --drive F=$F --cwd F:\\Stashwell",
         {"Home letter: F, the current directory's first character",
          "  letter none: group filtered out on the NT family: letter F dropped, as DriveMix 1 "
          "is not 2 or 6",
          "Verdict: drive F, variant 2 (Kestrel), from step 4: its letter is the home letter: the "
          "drive of the current directory is preferred"}},
        {"--registry $M/mixed-groups-nt.reg", {"  DriveMix 4: Kestrel and Orca groups"}},
        {"--registry $M/no-drive-nt.reg --no-cwd",
         {"Home letter: none, the current directory can be sized but not read (home letter 255)",
          "  third group: no registry string matched", "  DriveMix 0: no supported drive",
          "Verdict: drive none, variant -1: the device count found no supported drive"}},
        {"--cwd-error",
         {"Home letter: none, " + noHome,
          "Verdict: drive none, variant -1: " + noHome + ": detection ends with a message"}},
        {"--family 9x --registry $M/orca-slim-9x.reg",
         {"Detection on the 95 family",
          "  enum HKEY_DYN_DATA\\Config Manager\\Enum #0 -> 0: \"C1A2B0C0\"",
          "  entry \"USB\\VID_3107&PID_9340\":", "    -> letter E: a letter", "  letter E",
          "    -> letter none: no device with this hardware ID is present",
          "  letter none: no entry of the list gave a letter"}},
        {"--registry $T/hostile.reg",
         {"  query " + usbstor + " \"1\" -> 0: REG_SZ \"A\\nB\"",
          "  third group: \"USB\\VID_3107&PID_2619\\x1b[31m\\x07\\u0081\" matched g_CountOnlyIds "
          "entry \"USB\\VID_3107&PID_2619\""}},
    };
    for (const auto& [line, keys] : cases) {
        const setuptest::Run run = places.Setup(line + " --detect --explain");
        EXPECT_EQ(run.exitCode, 0) << line << run.err;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << line;
        std::vector<std::string> lines;
        for (const std::string& key : keys) {
            lines.push_back("\n" + key + "\n");
        }
        setuptest::ExpectInOrder("\n" + run.out, lines);
    }
}

// Keys that only one family's trail has: index, subkey and usbId on the 95
// family, utf16 on the NT family.
TEST(SetupExplain, JsonNamesEveryPartOfBothFamiliesTrails) {
    const setuptest::Places places;
    std::set<std::string> keys;
    for (const std::string machine :
         {"nt --registry $M/orca-slim-nt.reg --drive E=$E", "9x --registry $M/orca-slim-9x.reg"}) {
        const setuptest::Run run =
            places.Setup("--family " + machine + " --detect --explain --json");
        CollectKeys(nlohmann::json::parse(run.out), keys);
    }
    std::istringstream names(
        "call code count data diskId drive entry family group groups homeLetter index key letter "
        "list lookups matched meaning mix registry result step steps subkey type usbId utf16 "
        "value variant verdict why");
    EXPECT_EQ(keys, std::set<std::string>(std::istream_iterator<std::string>(names), {}));
}

}  // namespace
