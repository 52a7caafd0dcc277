// stashwell-setup --detect --explain on the sample machines and on exports of
// a registry editor: each machine's trail holds the lines that tell how its
// verdict came about, and --json gives the same as one document.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "setup_run.h"

namespace {

using nlohmann::json;
using setuptest::ExampleMachine;
using setuptest::ExportedFixture;
using setuptest::RunSetup;
using setuptest::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The key lines must stand in the output in this order.
void ExpectInOrder(const std::string& out, const std::vector<std::string>& keys,
                   const std::string& machine) {
    const std::vector<std::string> lines = Lines(out);
    auto at = lines.begin();
    for (const std::string& key : keys) {
        at = std::find(at, lines.end(), key);
        EXPECT_NE(at, lines.end()) << machine << ": no line, or out of order:\n"
                                   << key << "\nin:\n"
                                   << out;
        if (at == lines.end()) {
            return;
        }
    }
}

// Keys and kinds of a document, arrays by their first element: the shape
// that tools reading --json rely on.
json Shape(const json& value) {
    if (value.is_object()) {
        json shape = json::object();
        for (const auto& [key, item] : value.items()) {
            shape[key] = Shape(item);
        }
        return shape;
    }
    if (value.is_array()) {
        return value.empty() ? json::array() : json::array({Shape(value[0])});
    }
    return value.type_name();
}

class ExplainOption : public ::testing::Test {
  protected:
    TempFolder e;
    TempFolder f;
    TempFolder files;
};

TEST_F(ExplainOption, EachMachinesTrailTellsHowItsVerdictCameAbout) {
    const std::string eMapped = e.Mapping('E');
    const std::string fMapped = f.Mapping('F');
    // A stick whose instance path carries an escape sequence.
    const std::string hostile = files.Write(
        "hostile.reg",
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\USBSTOR\\Enum]\n"
        "\"0\"=hex(1):55,53,42,5c,56,49,44,5f,33,31,30,37,26,50,49,44,5f,32,36,31,39,1b,5b,"
        "33,31,6d,0a,00\n\"Count\"=dword:00000001\n");
    struct Row {
        std::string machine;
        std::vector<std::string> arguments;
        std::vector<std::string> keys;
    };
    const std::vector<Row> rows = {
        {"orca slim, NT",
         {"--registry", ExampleMachine("orca-slim-nt.reg"), "--drive", eMapped},
         {"Detection on the NT family", "Home letter: C, the current directory's first character",
          "Device count:", "  Kestrel group: no registry string matched",
          "  Orca group: \"USB\\VID_3107&PID_9340\\07A1B2C3D4E5F601\" matched g_OrcaSlimIds "
          "entry \"USB\\VID_3107&PID_9340\"",
          "  DriveMix 2: Orca group only",
          "Step 1, g_OrcaSlimIds, disk \"USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim\":",
          "  letter E",
          "Verdict: drive E, variant 1 (Orca), from step 1: no letter is the home letter: the "
          "first "
          "step with a letter wins"}},
        {"orca slim plugged in, E: not a logical drive",
         {"--registry", ExampleMachine("orca-slim-nt.reg")},
         {"  DriveMix 2: Orca group only",
          "  letter none: not a logical drive: the letters mounted on the disk's volume are not "
          "among the logical drives",
          "Step 2, g_OrcaPrismIds, disk \"USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Prism\":",
          "  letter none: no disk entry: no disk of the disk service begins with the disk ID",
          "Verdict: drive none, variant -1: no step gave a letter"}},
        {"kestrel prism, NT, started from F:",
         {"--registry", ExampleMachine("kestrel-prism-nt.reg"), "--drive", fMapped, "--cwd",
          "F:\\Stashwell"},
         {"Home letter: F, the current directory's first character",
          "  DriveMix 1: Kestrel group only",
          "  letter none: group filtered out on the NT family: DriveMix 1 is not 2 or 6",
          "Step 4, g_KestrelPrismIds, disk \"USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Prism\":",
          "  letter F",
          "Verdict: drive F, variant 2 (Kestrel), from step 4: its letter is the home letter: the "
          "drive "
          "of the current directory is preferred"}},
        {"two groups",
         {"--registry", ExampleMachine("mixed-groups-nt.reg")},
         {"  DriveMix 4: Kestrel and Orca groups",
          "Verdict: drive none, variant -1: no step gave a letter"}},
        {"no supported drive, current directory unreadable",
         {"--registry", ExampleMachine("no-drive-nt.reg"), "--no-cwd"},
         {"Home letter: none, the current directory can be sized but not read (home letter 255)",
          "  third group: no registry string matched", "  DriveMix 0: no supported drive",
          "Verdict: drive none, variant -1: the device count found no supported drive"}},
        {"current directory not even sized",
         {"--cwd-error"},
         {"Home letter: none, the current directory cannot be sized, or no memory can be had "
          "for it",
          "Verdict: drive none, variant -1: the current directory cannot be sized, or no memory "
          "can be had for it: detection ends with a message"}},
        {"orca slim, 95 family",
         {"--family", "9x", "--registry", ExampleMachine("orca-slim-9x.reg")},
         {"Detection on the 95 family", "  entry \"USB\\VID_3107&PID_9340\":", "  letter E",
          "Verdict: drive E, variant 1 (Orca), from step 1: no letter is the home "
          "letter: the first step with a letter wins"}},
        {"exported by regedit, NT",
         {"--registry", ExportedFixture("wine-system-orca-slim-nt.reg"), "--drive", eMapped},
         {"  DriveMix 2: Orca group only", "  letter E"}},
        {"exported by regedit, 95 family",
         {"--family", "9x", "--registry", ExportedFixture("wine-dyn-data-orca-slim-9x.reg"),
          "--registry", ExportedFixture("wine-enum-orca-slim-9x.reg")},
         {"Detection on the 95 family", "  DriveMix 2: Orca group only", "  letter E"}},
        {"texts from the registry escaped",
         {"--registry", hostile},
         {"  third group: \"USB\\VID_3107&PID_2619\\x1b[31m\\n\" matched g_CountOnlyIds entry "
          "\"USB\\VID_3107&PID_2619\""}},
    };
    for (const Row& row : rows) {
        std::vector<std::string> arguments = row.arguments;
        arguments.insert(arguments.end(), {"--detect", "--explain"});
        const setuptest::Run run = RunSetup(arguments);
        EXPECT_EQ(run.exitCode, 0) << row.machine << run.err;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << row.machine;
        ExpectInOrder(run.out, row.keys, row.machine);
    }
}

TEST_F(ExplainOption, RegistryCallsAreRetoldWithTheirResults) {
    const setuptest::Run run = RunSetup({"--registry", ExampleMachine("orca-slim-nt.reg"),
                                         "--drive", e.Mapping('E'), "--detect", "--explain"});
    ExpectInOrder(
        run.out,
        {"  open HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\USBSTOR\\Enum -> 0",
         "  query HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\USBSTOR\\Enum "
         "\"Count\" -> 0: REG_DWORD 1",
         "  query HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\USBSTOR\\Disk&Ven_Norvask&"
         "Prod_Rovane_Slim&Rev_1.00\\07A1B2C3D4E5F601&0 \"ParentIdPrefix\" -> 0: REG_SZ "
         "\"7&2f5e8a1c&0\"",
         "  query HKEY_LOCAL_MACHINE\\System\\MountedDevices \"\\DosDevices\\C:\" -> 0: REG_BINARY "
         "\"8a 3f 1c 52 00 7e 00 00 00 00 00 00\""},
        "orca slim");
    EXPECT_NE(run.out.find("-> 2 (The system cannot find the file specified.)"), std::string::npos);
}

TEST_F(ExplainOption, JsonHoldsTheSameTrailInAFixedShape) {
    const setuptest::Run run =
        RunSetup({"--family", "9x", "--registry", ExampleMachine("orca-slim-9x.reg"), "--detect",
                  "--explain", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json explanation = json::parse(run.out);
    const json golden = json::parse(R"({
      "family": "string",
      "homeLetter": {"letter": "string", "why": "string"},
      "count": {
        "registry": [{"call": "string", "key": "string", "index": "number",
                      "result": "number", "meaning": "string", "subkey": "string"}],
        "groups": [{"group": "string", "list": "null"}],
        "mix": {"code": "number", "meaning": "string"}},
      "steps": [{"step": "number", "list": "string", "diskId": "string",
                 "lookups": [{"usbId": "string", "letter": "string", "why": "string",
                              "registry": [{"call": "string", "key": "string",
                                            "index": "number", "result": "number",
                                            "meaning": "string", "subkey": "string"}]}],
                 "letter": "string", "why": "string"}],
      "verdict": {"drive": "string", "variant": "number", "step": "number", "why": "string"}
    })");
    EXPECT_EQ(Shape(explanation), golden) << Shape(explanation).dump(2);
    EXPECT_EQ(explanation["verdict"]["drive"], "E");
    EXPECT_EQ(explanation["count"]["mix"]["code"], 2);
    EXPECT_EQ(explanation["count"]["groups"][1]["entry"], "USB\\VID_3107&PID_9340");
}

TEST_F(ExplainOption, BadInputAndMisuseAreRefused) {
    const std::string truncated = files.Write(
        "truncated.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SYSTEM\n");
    setuptest::Run run = RunSetup({"--registry", truncated, "--detect", "--explain"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(std::regex_search(run.err, std::regex("truncated\\.reg:3: "))) << run.err;
    EXPECT_TRUE(run.out.empty());
    for (const auto& misuse :
         std::vector<std::vector<std::string>>{{"--explain"}, {"--detect", "--json"}}) {
        run = RunSetup(misuse);
        EXPECT_EQ(run.exitCode, 2) << run.err;
    }
    run = RunSetup({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("stashwell-setup [0-9]+\\.[0-9]+\n")));
}

}  // namespace
