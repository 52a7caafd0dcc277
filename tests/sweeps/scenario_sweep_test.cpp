// The installer's scenarios, each platform call failing in turn: nothing is
// left open, each reason is a failure's, nothing outside the scenario changes.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "detect/detect.h"
#include "testbed/installer.h"
#include "testbed/plugged_drives.h"
#include "testbed/sweep.h"
#include "wizard/property_dlg.h"
#include "wizard/recording_view.h"

namespace testbed {
namespace {

using Strings = std::vector<std::string>;

// The drive or none is found; only an unsized current directory is reported.
TEST(Sweep, DetectionOnEachFamily) {
    for (const auto& [family, platformId, drive, variant] :
         {std::tuple{"NT", win::kVerPlatformWin32Nt, kOrcaSlim, detect::kVariantOrca},
          {"95", win::kVerPlatformWin32Windows, kKestrelGeneric, detect::kVariantKestrel}}) {
        SweepFailurePoints(std::string("detection on the ") + family + " family", [&](int nth) {
            TestMachine machine;
            machine.facts().platformId = platformId;
            PlugIn(machine, drive, 'E');
            PlugIn(machine, kCountOnly, 0);  // of the third group: the count passes over it
            ArmNthCall(machine, nth);
            int found = 0;
            const std::uint8_t letter = detect::DetectSupportedDrive(machine.os, found);
            const std::string injected = machine.faults.Injected();
            ExpectNothingLeftOpen(machine);
            ExpectReasonsAreFailures(machine);
            EXPECT_TRUE(letter == 'E' || (letter == 0 && FaultMet(machine))) << injected;
            EXPECT_EQ(found, letter == 'E' ? variant : detect::kVariantNone) << injected;
            const Strings report{"System Error: " + FaultText() + "!"}, none;
            EXPECT_EQ(machine.ui.Texts(), injected == "GetCurrentDirectory #1" ? report : none);
            return FaultMet(machine);
        });
    }
}

constexpr char kHelp[] = "E:\\HelpFiles\\Stash.hlp";
constexpr std::uint32_t kHidden = win::kFileAttributeHidden;
// A program of more than two chunks, so that a copy takes several reads.
const std::map<std::string, std::string> kModules{
    {"E:\\Stash.exe", Pattern(2500)}, {kHelp, "help"}, {"E:\\Stash.ini", "[Stash]"}};
const std::string kInstaller =
    BuildInstaller({OrcaModule("Stash.exe", "", kModules.at("E:\\Stash.exe")),
                    {store::kOrcaTag, "Stash.hlp", "HelpFiles", "help", kHidden},
                    KestrelModule("Stash.exe", "", "the other variant's"),
                    OrcaModule("Stash.ini", "", "[Stash]")})
        .bytes;

// Through the wizard as a user runs it: the drive holds only whole modules or
// the old files, and only an installation of every module whole is complete.
bool InstallOnce(std::uint32_t platformId, bool overOldFiles, int nth) {
    TestMachine machine;
    machine.facts().platformId = platformId;
    PlugIn(machine, kOrcaSlim, 'E');
    machine.AddFile(kInstallerPath, kInstaller);
    for (const auto& [target, contents] : overOldFiles ? kModules : decltype(kModules){}) {
        machine.AddFile(target, "old", target == kHelp ? win::kFileAttributeReadonly : 0x80);
    }
    const Strings systemDrive = EntriesOutside(machine, 'C');
    ArmNthCall(machine, nth);
    // The sheet opens, and Install is pressed when it is offered.
    wizard_test::RecordingView view;
    bool faultBefore = false, offered = false, complete = false;
    try {
        wizard::CPropertyDlg sheet(machine.os, view, wizard::kSheetTitle);
        view.sheet = &sheet;
        if (sheet.OnCreate() == 0) {
            sheet.OnInitDialog();
        }
        faultBefore = FaultMet(machine);
        offered = view.okVisible;
        complete = offered && sheet.Page().OnApply();
    } catch (const wizard_test::ProcessExit&) {
        faultBefore = FaultMet(machine);
    }
    const std::string injected = machine.faults.Injected();
    Strings texts = machine.ui.Texts();
    ExpectNothingLeftOpen(machine);
    ExpectReasonsAreFailures(machine);
    EXPECT_EQ(EntriesOutside(machine, 'C'), systemDrive) << injected;
    for (const std::string& entry : machine.Tree('E')) {
        const auto module = kModules.find(entry);
        const std::string now = machine.Contents(entry);
        EXPECT_TRUE(
            entry == "E:\\HelpFiles\\" ||
            (module != kModules.end() && (now == module->second || (!complete && now == "old"))))
            << injected << ": " << entry << " holds " << now.substr(0, 10);
    }
    if (complete) {
        EXPECT_EQ(machine.Tree('E').size(), kModules.size() + 1) << injected;
        EXPECT_NE(machine.Attributes(kHelp) & kHidden, 0u) << injected;
        // Past reports of failures before Install: the questions, the verdict.
        std::erase_if(texts, [](const std::string& t) { return t.starts_with("System Error"); });
        EXPECT_EQ(texts.size(), overOldFiles ? 4u : 1u) << injected;
    }
    // Install is offered unless a call failed first; then only a call of the
    // installation makes it fail, and the failure is reported.
    EXPECT_TRUE(complete || (FaultMet(machine) && offered != faultBefore)) << injected;
    EXPECT_TRUE(complete || !offered || texts.back().starts_with("Unable")) << injected;
    return FaultMet(machine);
}

TEST(Sweep, Installation) {
    for (const auto& [scenario, platform, old] :
         {std::tuple{"complete installation onto an empty drive", win::kVerPlatformWin32Nt, false},
          {"installation over old files, each replaced after Yes", win::kVerPlatformWin32Nt, true},
          {"complete installation on the 95 family", win::kVerPlatformWin32Windows, false}}) {
        SweepFailurePoints(scenario, [&](int nth) { return InstallOnce(platform, old, nth); });
    }
}

}  // namespace
}  // namespace testbed
