// stashwell-setup --detect --explain: each machine's trail holds the lines
// that tell how its verdict came about, registry texts escaped, and --json
// gives the same as one document of one shape on both families.
#include <gtest/gtest.h>

#include <iterator>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "setup_run.h"

namespace {

// Every leaf of the document as "path:kind", array elements at "[]".
void Leaves(const nlohmann::json& value, const std::string& path, std::set<std::string>& leaves) {
    if (!value.is_structured()) {
        leaves.insert(path + ":" + value.type_name());
        return;
    }
    for (const auto& [key, item] : value.items()) {
        Leaves(item, path + (value.is_array() ? "[]" : "." + key), leaves);
    }
}

TEST(SetupExplain, EachMachinesTrailTellsHowItsVerdictCameAbout) {
    const setuptest::Places places;
    const std::string usbstor =
                          "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\USBSTOR"
                          "\\Enum",
                      mounts =
                          "  query HKEY_LOCAL_MACHINE\\System\\MountedDevices \"\\DosDevices\\",
                      first = "no letter is the home letter: the first step with a letter wins",
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
         {"Detection on the NT family", "Home letter: C, the current directory's first character",
          "  open " + usbstor + " -> 0", "  query " + usbstor + " \"Count\" -> 0: REG_DWORD 1",
          "  Orca group: \"USB\\VID_3107&PID_9340\\07A1B2C3D4E5F601\" matched g_OrcaSlimIds "
          "entry \"USB\\VID_3107&PID_9340\"",
          "  DriveMix 2: Orca group only",
          "Step 1, g_OrcaSlimIds, disk \"USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim\":",
          mounts + "C:\" -> 0: REG_BINARY \"8a 3f 1c 52 00 7e 00 00 00 00 00 00\"",
          mounts + "E:\" -> 0: REG_BINARY as UTF-16 \"\\??\\STORAGE#RemovableMedia#7&2f5e8a1c&0&"
                   "RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}\"",
          "  letter E", "Verdict: drive E, variant 1 (Orca), from step 1: " + first}},
        {"--registry $M/orca-slim-nt.reg",
         {mounts + "Z:\" -> 2 (The system cannot find the file specified.)",
          "  letter none: not a logical drive: the letters mounted on the disk's volume are not "
          "among the logical drives",
          "  letter none: no disk entry: no disk of the disk service begins with the disk ID",
          "Verdict: drive none, variant -1: no step gave a letter"}},
        {"--registry $M/kestrel-prism-nt.reg --drive F=$F --cwd F:\\Stashwell",
         {"Home letter: F, the current directory's first character",
          "  DriveMix 1: Kestrel group only",
          "  letter none: group filtered out on the NT family: letter F dropped, as DriveMix 1 "
          "is not 2 or 6",
          "  letter F",
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
          "  enum HKEY_DYN_DATA\\Config Manager\\Enum #7 -> 259 (No more data is available.)",
          "Step 1, g_OrcaSlimIds, disk \"SCSI\\NORVASK_ROVANE_SLIM_____0\":",
          "  entry \"USB\\VID_3107&PID_9340\":", "    -> letter E: a letter", "  letter E",
          "    -> letter none: no device with this hardware ID is present",
          "  letter none: no entry of the list gave a letter",
          "Verdict: drive E, variant 1 (Orca), from step 1: " + first}},
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

TEST(SetupExplain, JsonHoldsTheSameTrailInOneShapeOnBothFamilies) {
    const setuptest::Places places;
    std::set<std::string> leaves;
    for (const std::string machine : {"orca-slim-nt.reg --drive E=$E", "orca-slim-9x.reg"}) {
        const std::string family = machine.find("9x") == std::string::npos ? "nt" : "9x";
        const setuptest::Run run = places.Setup("--family " + family + " --registry $M/" + machine +
                                                " --detect --explain --json");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        Leaves(nlohmann::json::parse(run.out), "", leaves);
    }
    std::istringstream shape(
        ".family:string .homeLetter.letter:string .homeLetter.why:string .count.groups[].group:"
        "string .count.groups[].list:null .count.groups[].list:string .count.groups[].entry:string "
        ".count.groups[].matched:string .count.mix.code:number .count.mix.meaning:string "
        ".steps[].step:number .steps[].list:string .steps[].diskId:string .steps[].letter:null "
        ".steps[].letter:string .steps[].why:string .steps[].lookups[].usbId:string "
        ".steps[].lookups[].letter:null .steps[].lookups[].letter:string .steps[].lookups[].why:"
        "string .steps[].lookups[].registry[].utf16:boolean .verdict.drive:string "
        ".verdict.variant:number .verdict.step:number .verdict.why:string");
    std::set<std::string> expected{std::istream_iterator<std::string>(shape), {}};
    for (const std::string calls : {".count.registry[].", ".steps[].lookups[].registry[]."}) {
        for (const std::string leaf :
             {"call:string", "key:string", "result:number", "meaning:string", "value:string",
              "type:string", "data:number", "data:string", "index:number", "subkey:string"}) {
            expected.insert(calls + leaf);
        }
    }
    EXPECT_EQ(leaves, expected);
}

}  // namespace
