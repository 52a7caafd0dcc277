// The installation through the wizard, as a user runs it (the sheet opens,
// Install is pressed when it is shown), with each platform call failing in
// turn: onto an empty drive on each family, and over files that are there
// already, each replaced after a Yes.
//
// After every failure point: the installer reports success only when every
// module is on the drive whole, reports every failure in the message that
// the installer gives for it, leaves no part of a module behind, writes
// nothing but the modules and their folders, and leaves nothing open.
#include <gtest/gtest.h>

#include <map>

#include "installer_image.h"
#include "plugged_drives.h"
#include "recording_view.h"
#include "sweep.h"
#include "wizard/property_dlg.h"

namespace sweeps {
namespace {

constexpr char kComplete[] = "Thank you for using Norvask product!\r\nInstallation Complete!";
constexpr char kFailed[] = "Unable To Continue Installation!\r\nGood Bye!";
constexpr char kNoDriveInformation[] = "Unable to get Rovane Information!";
constexpr char kRunFromDesktop[] =
    "Please run this application from DESKTOP folder. \r\nIf still does not work contact Norvask";
constexpr char kHelpFile[] = "E:\\HelpFiles\\Stash.hlp";

// A payload of more than two chunks, so that a copy takes several reads.
std::string Program() {
    std::string bytes(2500, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    }
    return bytes;
}

std::vector<wizard_test::Module> Modules() {
    wizard_test::Module help = wizard_test::OrcaModule("Stash.hlp", "HelpFiles", "help");
    help.attributes = win::kFileAttributeHidden;
    return {wizard_test::OrcaModule("Stash.exe", "", Program()), help,
            wizard_test::KestrelModule("Stash.exe", "", "the other variant's"),
            wizard_test::OrcaModule("Stash.ini", "", "[Stash]")};
}

// Where the Orca modules go, and what they hold.
const std::map<std::string, std::string>& Installed() {
    static const std::map<std::string, std::string> installed{
        {"E:\\Stash.exe", Program()}, {kHelpFile, "help"}, {"E:\\Stash.ini", "[Stash]"}};
    return installed;
}

struct Scenario {
    const char* name;
    const char* testName;
    bool overTheOldFiles;
    std::uint32_t platformId;
};

std::ostream& operator<<(std::ostream& out, const Scenario& scenario) {
    return out << scenario.name;
}

// What the user saw happen.
struct WizardRun {
    bool exited = false;
    bool pressed = false;
    bool installed = false;
    bool faultBeforeInstall = false;
};

// A machine with an Orca drive at E: and the installer, and the window that
// the wizard draws on, made afresh for each failure point.
class Rig {
  public:
    doubles::FakeMachine machine;
    wizard_test::RecordingView view;

    explicit Rig(const Scenario& scenario) : overTheOldFiles_(scenario.overTheOldFiles) {
        machine.system.platformId = scenario.platformId;
        machine.files.AddDrive('E');
        machines::PlugIn(machine, machines::kOrcaSlim, 'E');
        wizard_test::WriteInstaller(machine.files, machine.system.moduleFileName, Modules());
        systemDrive_ = machine.files.Tree('C');
        installer_ = machine.files.Contents(machine.system.moduleFileName);
        if (overTheOldFiles_) {
            for (const auto& [target, contents] : Installed()) {
                machine.files.AddFile(
                    target, "old",
                    target == kHelpFile ? win::kFileAttributeReadonly : win::kFileAttributeNormal);
            }
        }
    }

    WizardRun RunWizard() {
        WizardRun run;
        try {
            wizard::CPropertyDlg sheet(machine.os, view, wizard::kSheetTitle);
            view.sheet = &sheet;
            if (sheet.OnCreate() == 0) {
                sheet.OnInitDialog();
                sheet.OnPaint();
            }
            run.faultBeforeInstall = FaultMet(machine);
            if (view.okVisible) {
                run.pressed = true;
                run.installed = sheet.Page().OnApply();
                sheet.OnPaint();
            }
        } catch (const wizard_test::ProcessExit& exit) {
            EXPECT_EQ(exit.status, 0);
            run.exited = true;
        }
        view.sheet = nullptr;
        return run;
    }

    // Each target holds the module whole, what it held before, or nothing;
    // nothing but the targets and their folder is on the drive, and the
    // system drive with the installer on it is as it was.
    void ExpectNoPartOfAModule(const std::string& injected) {
        for (const auto& [target, contents] : Installed()) {
            if (machine.files.Exists(target)) {
                const std::string now = machine.files.Contents(target);
                EXPECT_TRUE(now == contents || (overTheOldFiles_ && now == "old"))
                    << injected << ": " << target << " holds part of a module";
            }
        }
        for (const std::string& entry : machine.files.Tree('E')) {
            EXPECT_TRUE(entry == "E:\\HelpFiles\\" || Installed().count(entry) != 0)
                << injected << ": " << entry << " was written";
        }
        EXPECT_EQ(machine.files.Tree('C'), systemDrive_) << injected;
        EXPECT_EQ(machine.files.Contents(machine.system.moduleFileName), installer_) << injected;
    }

    void ExpectUnchanged(const std::vector<std::string>& before, const std::string& injected) {
        EXPECT_EQ(machine.files.Tree('E'), before) << injected;
        for (const auto& [target, contents] : Installed()) {
            EXPECT_EQ(machine.files.Exists(target), overTheOldFiles_) << injected;
        }
    }

    void ExpectComplete(const std::vector<std::string>& texts, const std::string& injected) {
        EXPECT_EQ(texts.back(), kComplete) << injected;
        for (const auto& [target, contents] : Installed()) {
            EXPECT_EQ(machine.files.Contents(target), contents) << injected << ": " << target;
        }
        EXPECT_NE(machine.files.Attributes(kHelpFile) & win::kFileAttributeHidden, 0u) << injected;
        const auto overwrite = [](const doubles::ShownBox& box) {
            return box.caption == "Overwrite";
        };
        const auto questions =
            std::count_if(machine.ui.shown.begin(), machine.ui.shown.end(), overwrite);
        EXPECT_EQ(questions, overTheOldFiles_ ? 3 : 0) << injected;
        for (const std::string& text : texts) {
            EXPECT_FALSE(text.starts_with("Unable")) << injected << ": " << text;
        }
    }

    // The messages of a failed installation: the deletion's own reports and
    // the page's, then the page's verdict.
    void ExpectFailureReported(const std::vector<std::string>& texts, const std::string& injected) {
        EXPECT_TRUE(texts.back() == kFailed || texts.back() == kNoDriveInformation)
            << injected << ": " << texts.back();
        for (const doubles::ShownBox& box : machine.ui.shown) {
            EXPECT_TRUE(box.caption == "Overwrite" || box.text.starts_with("Unable") ||
                        box.text.starts_with("System Error: "))
                << injected << ": " << box.text;
        }
    }

  private:
    bool overTheOldFiles_;
    std::vector<std::string> systemDrive_;
    std::string installer_;
};

using InstallSweep = ::testing::TestWithParam<Scenario>;

TEST_P(InstallSweep, EveryFailureIsReportedAndLeavesNoPartOfAModule) {
    SweepFailurePoints(GetParam().name, [&](int nth) {
        Rig rig(GetParam());
        doubles::FakeMachine& machine = rig.machine;
        const std::vector<std::string> before = machine.files.Tree('E');
        ArmNthCall(machine, nth);
        const WizardRun run = rig.RunWizard();
        const std::string injected = machine.faults.Injected();
        const std::vector<std::string> texts = machine.ui.Texts();

        ExpectNothingLeftOpen(machine);
        ExpectReasonsAreFailures(machine);
        rig.ExpectNoPartOfAModule(injected);
        if (run.exited) {
            EXPECT_EQ(injected, "GetModuleFileName #1");
            EXPECT_EQ(texts, std::vector<std::string>{kRunFromDesktop});
            rig.ExpectUnchanged(before, injected);
        } else if (!run.pressed) {
            // The page shows no drive, or no module for it, and offers nothing.
            EXPECT_TRUE(FaultMet(machine)) << "Install is hidden without a failing call";
            const std::string driveLine = rig.view.Line(wizard::kDriveLineId).text;
            const std::string moduleLine = rig.view.Line(wizard::kModuleLineId).text;
            EXPECT_TRUE(driveLine == "No flash drive detected." ||
                        moduleLine == "Stashwell ver 1.1 is NOT included!")
                << injected << ": " << driveLine << " / " << moduleLine;
            for (const std::string& text : texts) {
                EXPECT_EQ(text, "System Error: " + FaultText() + "!") << injected;
            }
            rig.ExpectUnchanged(before, injected);
        } else if (run.installed) {
            rig.ExpectComplete(texts, injected);
        } else {
            EXPECT_TRUE(FaultMet(machine)) << "an installation failed without a failing call";
            EXPECT_FALSE(run.faultBeforeInstall) << injected << " spoilt a later installation";
            rig.ExpectFailureReported(texts, injected);
            if (texts.back() == kNoDriveInformation) {
                rig.ExpectUnchanged(before, injected);  // found no drive to copy to
            }
        }
        return FaultMet(machine);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, InstallSweep,
    ::testing::Values(Scenario{"complete installation onto an empty drive", "Complete", false,
                               win::kVerPlatformWin32Nt},
                      Scenario{"installation over existing files, each replaced after Yes",
                               "OverwriteWithYes", true, win::kVerPlatformWin32Nt},
                      Scenario{"complete installation on the 95 family", "Complete95", false,
                               win::kVerPlatformWin32Windows}),
    [](const ::testing::TestParamInfo<Scenario>& info) {
        return std::string(info.param.testName);
    });

}  // namespace
}  // namespace sweeps
