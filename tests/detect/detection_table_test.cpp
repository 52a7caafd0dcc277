// Detection over the machines of fixtures/machines.txt: the family of Windows,
// the drives plugged in, the registry edits and the current directory, with
// the letter, variant and drive mix found there; no key stays open, and only a
// failing current directory shows a message.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "detect/detect.h"
#include "detect/home_letter.h"
#include "platform/hosted/reg_file.h"
#include "testbed/plugged_drives.h"

namespace {

using namespace detect;
using namespace testbed;

const std::map<std::string, DriveModel> kModels = {
    {"Slim", kOrcaSlim},
    {"OrcaPrism", kOrcaPrism},
    {"Generic", kKestrelGeneric},
    {"KestrelPrism", kKestrelPrism},
    {"Third", kCountOnly},
    {"Other", {"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\OTHER"}}};
const std::map<std::string, int> kVariants = {
    {"none", kVariantNone}, {"orca", kVariantOrca}, {"kestrel", kVariantKestrel}};
const std::vector<std::string> kMixes = {"none",         "kestrel",       "orca",       "third",
                                         "kestrel+orca", "kestrel+third", "orca+third", "all"};

// One "==" line and the .reg lines below it, on NT or on 95.
void Check(const std::string& head, const std::string& body, bool nt) {
    std::istringstream in(head);
    std::string family, dir, token, letter, variant, mix;
    in >> token >> family >> dir;
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
    const std::vector<std::string> none, denied{"System Error: Access is denied.\r\n!"};
    EXPECT_EQ(machine.ui.Texts(), dir == "<unsized>" ? denied : none);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST(Detection, EachMachineGivesItsLetterVariantAndMix) {
    std::ifstream file(DETECT_FIXTURES "/machines.txt");
    std::vector<std::pair<std::string, std::string>> machines;  // "==" line, .reg lines
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("== ")) {
            machines.push_back({line, ""});
        } else if (!machines.empty()) {
            machines.back().second += line + "\n";
        }
    }
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
    EXPECT_EQ(
        machine.ui.Texts(),
        std::vector<std::string>{"Can't allocate memory to perform operation\r\nError: "
                                 "Not enough storage is available to process this command.\r\n!"});
}

}  // namespace
