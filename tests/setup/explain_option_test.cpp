// stashwell-setup --detect --explain on the sample machines and on exports of
// a registry editor: each machine's trail holds the lines that tell how its
// verdict came about, and --json gives the same as one document.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

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

// Keys and kinds of a document, the elements of an array merged into one:
// the shape that tools reading --json rely on.
json Merge(json a, const json& b) {
    if (a.is_object() && b.is_object()) {
        for (const auto& [key, item] : b.items()) {
            a[key] = a.contains(key) ? Merge(a[key], item) : item;
        }
    } else if (a.is_array() && b.is_array()) {
        a = a.empty() ? b : b.empty() ? a : json::array({Merge(a[0], b[0])});
    } else if (a != b) {  // kinds: a sorted set such as "null|string"
        std::set<std::string> kinds;
        for (const json* side : {static_cast<const json*>(&a), &b}) {
            std::stringstream text(side->get<std::string>());
            for (std::string kind; std::getline(text, kind, '|');) {
                kinds.insert(kind);
            }
        }
        std::string joined;
        for (const std::string& kind : kinds) {
            joined += (joined.empty() ? "" : "|") + kind;
        }
        a = joined;
    }
    return a;
}

json Shape(const json& value) {
    if (value.is_object()) {
        json shape = json::object();
        for (const auto& [key, item] : value.items()) {
            shape[key] = Shape(item);
        }
        return shape;
    }
    if (value.is_array()) {
        json merged = json::array();
        for (const json& item : value) {
            merged = Merge(merged, json::array({Shape(item)}));
        }
        return merged;
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
    // A stick whose instance path carries an escape sequence, and a value
    // (in the export's UTF-16 hex form) that carries a line break.
    const std::string lineBreak = "\"1\"=hex(1):41,00,0a,00,42,00,";
    const std::string hostile =
        files.Write("hostile.reg",
                    "Windows Registry Editor Version 5.00\n\n"
                    "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\USBSTOR\\Enum]\n"
                    "\"0\"=\"USB\\\\VID_3107&PID_2619\x1b[31m\x07\"\n" +
                        lineBreak + "00,00\n\"Count\"=dword:00000002\n");
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
          "  letter none: group filtered out on the NT family: letter F dropped, as DriveMix 1 "
          "is not 2 or 6",
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
         {"  query HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\USBSTOR\\Enum \"1\" "
          "-> 0: REG_SZ \"A\\nB\"",
          "  third group: \"USB\\VID_3107&PID_2619\\x1b[31m\\x07\" matched g_CountOnlyIds "
          "entry \"USB\\VID_3107&PID_2619\""}},
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
    // E: is not a logical drive: the scan of the mount table goes on to Z:.
    const setuptest::Run run =
        RunSetup({"--registry", ExampleMachine("orca-slim-nt.reg"), "--detect", "--explain"});
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

TEST_F(ExplainOption, JsonHoldsTheSameTrailInOneShapeOnBothFamilies) {
    const setuptest::Run nt = RunSetup({"--registry", ExampleMachine("orca-slim-nt.reg"), "--drive",
                                        e.Mapping('E'), "--detect", "--explain", "--json"});
    const setuptest::Run nine =
        RunSetup({"--family", "9x", "--registry", ExampleMachine("orca-slim-9x.reg"), "--detect",
                  "--explain", "--json"});
    ASSERT_EQ(nt.exitCode + nine.exitCode, 0) << nt.err << nine.err;
    const json ntExplanation = json::parse(nt.out);
    const json call = R"({"call": "string", "key": "string", "result": "number",
        "meaning": "string", "value": "string", "type": "string", "data": "number|string",
        "index": "number", "subkey": "string"})"_json;
    json stepCall = call;
    stepCall["utf16"] = "boolean";
    const json golden = {
        {"family", "string"},
        {"homeLetter", {{"letter", "string"}, {"why", "string"}}},
        {"count",
         {{"registry", {call}},
          {"groups",
           {{{"group", "string"},
             {"list", "null|string"},
             {"entry", "string"},
             {"matched", "string"}}}},
          {"mix", {{"code", "number"}, {"meaning", "string"}}}}},
        {"steps",
         {{{"step", "number"},
           {"list", "string"},
           {"diskId", "string"},
           {"lookups",
            {{{"usbId", "string"},
              {"registry", {stepCall}},
              {"letter", "null|string"},
              {"why", "string"}}}},
           {"letter", "null|string"},
           {"why", "string"}}}},
        {"verdict",
         {{"drive", "string"}, {"variant", "number"}, {"step", "number"}, {"why", "string"}}}};
    const json shape = Merge(Shape(ntExplanation), Shape(json::parse(nine.out)));
    EXPECT_EQ(shape, golden) << shape.dump(2);
    EXPECT_EQ(ntExplanation["verdict"], json::parse(R"({"drive": "E", "variant": 1, "step": 1,
        "why": "no letter is the home letter: the first step with a letter wins"})"));
    EXPECT_EQ(ntExplanation["count"]["mix"],
              json::parse(R"({"code": 2, "meaning": "Orca group only"})"));
    EXPECT_EQ(ntExplanation["count"]["groups"][1]["entry"], "USB\\VID_3107&PID_9340");
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
