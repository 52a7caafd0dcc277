// The .reg loader and detection over the case files of fixtures/: each .reg file is refused
// with "FILE:LINE: what is wrong" (leaving the registry empty) or loaded with the value it sets;
// each machine (family of Windows, drives plugged in, registry edits, current directory) gives
// its letter, variant and drive mix; no key stays open, only a failing current directory shows.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "detect/detect.h"
#include "detect/home_letter.h"
#include "platform/hosted/printable_text.h"
#include "platform/hosted/reg_file.h"
#include "testbed/plugged_drives.h"

namespace {

using namespace detect;
using namespace testbed;
using Strings = std::vector<std::string>;
using Cases = std::vector<std::pair<std::string, std::string>>;  // "==" line, the lines below

Cases ReadCases(const std::string& name) {
    std::ifstream file(DETECT_FIXTURES "/" + name);
    Cases cases;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("== ")) {
            cases.push_back({line.substr(3), ""});
        } else if (!cases.empty()) {
            cases.back().second += line + "\n";
        }
    }
    return cases;
}

const std::string kHead = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n";
const std::string kUtf8 = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKLM\\K]\n";

std::string Levels(std::size_t levels) {  // "k\k\...\k"
    std::string path = "k";
    for (std::size_t level = 1; level < levels; ++level) {
        path += "\\k";
    }
    return path;
}

// "TYPE:data" as a printable line, or why there is no value.
std::string Value(platform::Registry& reg, const std::string& key, const std::string& name) {
    const win::HKEY root = key.starts_with("HKDD\\") ? win::kHkeyDynData : win::kHkeyLocalMachine;
    win::HKEY handle = 0;
    if (reg.RegOpenKeyExA(root, key.substr(key.find('\\') + 1).c_str(), 0, &handle) != 0) {
        return "no key";
    }
    std::uint8_t data[20000];
    std::uint32_t type = 0, size = sizeof data;
    const std::uint32_t result = reg.RegQueryValueExA(handle, name.c_str(), &type, data, &size);
    reg.RegCloseKey(handle);
    const std::string bytes(data, data + size);
    return result != 0 ? "no value" : std::to_string(type) + ":" + hosted::PrintableText(bytes);
}

struct File {
    std::string text, loaded;  // loaded: the value, or "LINE: what is wrong"
    std::string key = "HKLM\\K", name = "v";
};

// The files of bytes that a text file does not show or of names too long to
// read, those of reg_files.txt, and one that cannot be read.
TEST(RegFile, EachFileLoadsItsValueOrIsRefusedWithItsLine) {
    const Cases cases = ReadCases("reg_files.txt");
    ASSERT_EQ(cases.size(), 25u);
    const std::string widest = "HKLM\\" + std::string(255, 'k') + "\\" + Levels(511);
    const std::string longName(16383, 'v'),
        notReg = cases[0].first.substr(cases[0].first.find("=> ") + 3);
    // clang-format off
    std::vector<File> files = {
        {kHead + "\"v\"=hex:\r\n", "3:"},
        {kHead + "\"v\"=hex(b):01, 02 ,\\\r\n   03\r\n", "11:\\x01\\x02\\x03"},
        {kUtf8 + "\"v\"=\"20\xE2\x82\xAC \xE2\x86\x92 \xF0\x9F\x98\x80\"", "1:20\\x80 ? ??\\x00"},
        {kUtf8 + "\"v\"=hex(7):41,00,ac,20,00,00,00,00", "7:A\\x80\\x00\\x00"},
        {kUtf8 + "\"v\"=hex:ac,20", "3:\\xac "},
        {"REGEDIT4\n[" + widest + "]\n\"" + longName + "\"=\"1\"", "1:1\\x00", widest, longName},
        {kHead + "[HKLM\\" + std::string(256, 'k') + "]", "4: key name over 255 characters"},
        {kHead + "[HKLM\\" + Levels(513) + "]", "4: key path deeper than 512 levels"},
        {kHead + "[HKLM\\" + Levels(500000) + "]", "4: key path deeper than 512 levels"},
        {kHead + "\"" + std::string(16384, 'v') + "\"=\"1\"", "4: value name over 16383 characters"},
        {"\xEF\xBB\xBFREGEDIT4\n[HKLM\\X]", notReg},  // refused as the empty file is
        {kUtf8 + "\"v\"=\"\xE9\"", "3: not valid UTF-8"},
        {std::string("\xFF\xFEW\0", 4) + "x", "1: UTF-16 text ends in the middle of a character"},
        {kUtf8 + "\"v\"=hex(1):41", "3: UTF-16 text data has an odd number of bytes"},
    };
    // clang-format on
    for (const auto& [head, text] : cases) {
        File& file = files.emplace_back(text, "");
        std::istringstream in(head);
        in >> file.key >> file.name >> file.loaded;  // "=>", then the rest of the line
        std::getline(in >> std::ws, file.loaded);
        file.name = file.name == "@" ? "" : file.name;
    }
    for (const File& file : files) {
        hosted::MemoryRegistry reg;
        std::string error;
        const bool loaded = hosted::LoadRegBytes("machine.reg", file.text, reg, error);
        EXPECT_EQ(loaded ? Value(reg, file.key, file.name) : error,
                  loaded ? file.loaded : "machine.reg:" + file.loaded)
            << file.text.substr(0, 200);
        char name[300];
        std::uint32_t size = sizeof name;
        EXPECT_TRUE(loaded || reg.RegEnumKeyExA(win::kHkeyLocalMachine, 0, name, &size) != 0);
        EXPECT_EQ(reg.OpenKeyCount(), 0);
    }
    hosted::MemoryRegistry reg;
    std::string error;
    EXPECT_FALSE(hosted::LoadRegFile(DETECT_FIXTURES "/none.reg", reg, error));
    EXPECT_EQ(error, DETECT_FIXTURES "/none.reg: cannot be read: no such file");
}

TEST(RegFile, RegistryTreesDeeperThanTheStackAreDeletedAndTornDown) {
    hosted::MemoryRegistry reg;
    reg.CreateKey(win::kHkeyLocalMachine, "Deep\\" + Levels(500000));
    reg.CreateKey(win::kHkeyLocalMachine, "Kept\\" + Levels(500000));  // goes with the registry
    reg.DeleteKey(win::kHkeyLocalMachine, "Deep");
    EXPECT_EQ(Value(reg, "HKLM\\Deep", ""), "no key");
}

// clang-format off
const std::map<std::string, DriveModel> kModels = {{"Slim", kOrcaSlim}, {"OrcaPrism", kOrcaPrism},
    {"Generic", kKestrelGeneric}, {"KestrelPrism", kKestrelPrism}, {"Third", kCountOnly},
    {"Other", {"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\OTHER"}}};
const std::map<std::string, int> kVariants = {
    {"none", kVariantNone}, {"orca", kVariantOrca}, {"kestrel", kVariantKestrel}};
const Strings kMixes = {"none", "kestrel", "orca", "third", "kestrel+orca", "kestrel+third",
                        "orca+third", "all"};
// clang-format on

// One "==" line and the .reg lines below it, on NT or on 95.
void Check(const std::string& head, const std::string& body, bool nt) {
    std::istringstream in(head);
    std::string family, dir, token, letter, variant, mix;
    in >> family >> dir;
    if (family != "any" && (family == "9x") == nt) {
        return;
    }
    SCOPED_TRACE(head + (nt ? " on NT" : " on 95"));
    TestMachine machine;
    machine.facts().platformId = nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
    while (in >> token && token != "=>") {
        PlugIn(machine, kModels.at(token.substr(2)), token[0] == '-' ? 0 : token[0]);
    }
    in >> letter >> variant >> mix;
    const std::uint8_t found = letter == "-" ? 0 : letter[0];
    machine.AddDrive(found == 0 ? 'C' : found);  // the fixtures' drive
    std::string error, regLines = "REGEDIT4\n";
    std::istringstream lines(body);
    for (std::string line; std::getline(lines, line);) {
        ASSERT_TRUE(
            !line.starts_with("< ") ||
            hosted::LoadRegFile(DETECT_FIXTURES "/" + line.substr(2), machine.registryData, error))
            << error;
        regLines += line.starts_with("< ") ? "" : line + "\n";
    }
    ASSERT_TRUE(hosted::LoadRegBytes("edit", regLines, machine.registryData, error)) << error;
    if (family == "noversion") {
        machine.facts().platformId.reset();
    }
    using Mode = hosted::CurrentDirectoryMode;
    machine.facts().currentDirectory = dir[0] == '<' ? "C:\\" : dir;
    machine.facts().currentDirectoryMode = dir == "<sized>"     ? Mode::SizeOnly
                                           : dir == "<unsized>" ? Mode::Failing
                                                                : Mode::Readable;
    const int expectedMix =
        static_cast<int>(std::find(kMixes.begin(), kMixes.end(), mix) - kMixes.begin());
    EXPECT_EQ(CountSupportedDrives(machine.os, nt), expectedMix);
    const int countOpens = machine.faults.Count(Call::RegOpenKey);
    int foundVariant = 0;
    EXPECT_EQ(DetectSupportedDrive(machine.os, foundVariant), found);
    EXPECT_EQ(foundVariant, kVariants.at(variant));
    // Past an unknown home nothing is looked up; past no drive, no letter.
    const int opens = machine.faults.Count(Call::RegOpenKey) - countOpens;
    EXPECT_EQ(opens, dir == "<unsized>" ? 0 : expectedMix == kMixNone ? countOpens : opens);
    const Strings none, denied{"System Error: Access is denied.\r\n!"};
    EXPECT_EQ(machine.ui.Texts(), dir == "<unsized>" ? denied : none);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST(Detection, EachMachineGivesItsLetterVariantAndMix) {
    const Cases machines = ReadCases("machines.txt");
    ASSERT_EQ(machines.size(), 46u);
    for (const auto& [head, body] : machines) {
        for (const bool nt : {true, false}) {
            Check(head, body, nt);
        }
    }
}

TEST(Detection, HomeLetterWithoutMemoryForItShowsTheAllocationError) {
    TestMachine machine;
    machine.system.SetLastError(win::kErrorNotEnoughMemory);
    EXPECT_EQ(ReadHomeLetter(machine.os, [](std::size_t) { return std::unique_ptr<char[]>(); }),
              std::nullopt);
    EXPECT_EQ(machine.ui.Texts(),
              Strings{"Can't allocate memory to perform operation\r\nError: "
                      "Not enough storage is available to process this command.\r\n!"});
}

}  // namespace
