// The installer's scenarios, each platform call failing in turn. After every
// failure point nothing is left open, each reason given is a failure's, and
// nothing outside what the scenario works on has changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "detect/detect.h"
#include "fileops/guarded_delete.h"
#include "fileops/planted_drive.h"
#include "testbed/installer.h"
#include "testbed/plugged_drives.h"
#include "testbed/sweep.h"
#include "wizard/property_dlg.h"
#include "wizard/recording_view.h"

namespace testbed {
namespace {

using Strings = std::vector<std::string>;

// The tree is gone without a report, or it is there and an error box says so.
TEST(Sweep, DeletionOfATreeWithALinkOutOfIt) {
    SweepFailurePoints("deletion of a folder tree", [&](int nth) {
        TestMachine machine;
        fileops_test::PlantDrive(machine);
        const Strings outside = EntriesOutside(machine, 'E', "E:\\Data");
        ArmNthCall(machine, nth);
        const int result = fileops::DeleteFileOrDirectory(machine.os, "E:\\Data", 0);
        const std::string injected = machine.faults.Injected();
        ExpectNothingLeftOpen(machine);
        ExpectReasonsAreFailures(machine);
        EXPECT_EQ(EntriesOutside(machine, 'E', "E:\\Data"), outside) << injected;
        EXPECT_EQ(machine.Exists("E:\\Data"), result == 0) << injected;
        const bool reported = machine.ui.shown.back().type == (win::kMbOk | win::kMbIconHand);
        EXPECT_EQ(reported, result == 0) << injected;
        return FaultMet(machine);
    });
}

// The drive is found, or none is; only a current directory that cannot be
// sized is reported.
TEST(Sweep, DetectionOnEachFamily) {
    for (const auto& [family, platformId, drive, variant] :
         {std::tuple{"NT", win::kVerPlatformWin32Nt, kOrcaSlim, detect::kVariantOrca},
          std::tuple{"95", win::kVerPlatformWin32Windows, kKestrelGeneric,
                     detect::kVariantKestrel}}) {
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
            const bool unsized = injected == "GetCurrentDirectory #1";
            const Strings report{"System Error: " + FaultText() + "!"};
            EXPECT_EQ(machine.ui.Texts(), unsized ? report : Strings{});
            // Unread, the current directory is on no drive: the catalogue decides.
            EXPECT_EQ(letter, unsized ? 0 : injected == "GetCurrentDirectory #2" ? 'E' : letter);
            return FaultMet(machine);
        });
    }
}

constexpr char kHelp[] = "E:\\HelpFiles\\Stash.hlp";
constexpr std::uint32_t kHidden = win::kFileAttributeHidden;
// A program of more than two chunks, so that a copy takes several reads.
const std::map<std::string, std::string> kModules{
    {"E:\\Stash.exe", Pattern(2500)}, {kHelp, "help"}, {"E:\\Stash.ini", "[Stash]"}};

// Through the wizard as a user runs it, over old files each replaced after a
// Yes or onto an empty drive: the drive holds only whole modules or the old
// files, and only an installation of every module whole is complete.
TEST(Sweep, InstallationThroughTheWizard) {
    const std::string installer =
        BuildInstaller({OrcaModule("Stash.exe", "", kModules.at("E:\\Stash.exe")),
                        {store::kOrcaTag, "Stash.hlp", "HelpFiles", "help", kHidden},
                        KestrelModule("Stash.exe", "", "the other variant's"),
                        OrcaModule("Stash.ini", "", "[Stash]")})
            .bytes;
    for (const auto& [scenario, platformId, overOldFiles] :
         {std::tuple{"complete installation onto an empty drive", win::kVerPlatformWin32Nt, false},
          std::tuple{"installation over existing files, each replaced after Yes",
                     win::kVerPlatformWin32Nt, true},
          std::tuple{"complete installation on the 95 family", win::kVerPlatformWin32Windows,
                     false}}) {
        SweepFailurePoints(scenario, [&](int nth) {
            TestMachine machine;
            machine.facts().platformId = platformId;
            PlugIn(machine, kOrcaSlim, 'E');
            machine.AddFile(kInstallerPath, installer);
            for (const auto& [target, contents] : overOldFiles ? kModules : decltype(kModules){}) {
                machine.AddFile(target, "old",
                                target == kHelp ? win::kFileAttributeReadonly : 0x80);
            }
            const Strings systemDrive = EntriesOutside(machine, 'C');
            ArmNthCall(machine, nth);
            // The sheet opens, and Install is pressed when it is offered.
            wizard_test::RecordingView view;
            bool faultBefore = false;
            bool offered = false;
            bool complete = false;
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
            const Strings texts = machine.ui.Texts();
            ExpectNothingLeftOpen(machine);
            ExpectReasonsAreFailures(machine);
            EXPECT_EQ(EntriesOutside(machine, 'C'), systemDrive) << injected;
            for (const std::string& entry : machine.Tree('E')) {
                const auto module = kModules.find(entry);
                const std::string now = machine.Contents(entry);
                EXPECT_TRUE(entry == "E:\\HelpFiles\\" ||
                            (module != kModules.end() &&
                             (now == module->second || (!complete && now == "old"))))
                    << injected << ": " << entry << " holds " << now.substr(0, 10);
            }
            if (complete) {
                EXPECT_EQ(machine.Tree('E').size(), kModules.size() + 1) << injected;
                EXPECT_NE(machine.Attributes(kHelp) & kHidden, 0u) << injected;
                // Past the reports of failures before Install, the questions
                // about the old files, if any, then the verdict.
                EXPECT_EQ(std::ranges::count_if(texts,
                                                [](const std::string& text) {
                                                    return !text.starts_with("System Error: ");
                                                }),
                          overOldFiles ? 4 : 1)
                    << injected;
            }
            // Install is offered unless a call failed first; then only a call
            // of the installation makes it fail, and the failure is reported.
            EXPECT_TRUE(complete || (FaultMet(machine) && offered != faultBefore)) << injected;
            EXPECT_TRUE(complete || !offered || texts.back().starts_with("Unable")) << injected;
            return FaultMet(machine);
        });
    }
}

}  // namespace
}  // namespace testbed
