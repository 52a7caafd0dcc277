// The wizard on the test machine, drawn on a recording window: the sheet as
// it opens, the install page in each situation, and the application.
#include <gtest/gtest.h>

#include "platform/hosted/error_text.h"
#include "recording_view.h"
#include "testbed/drive_bay.h"
#include "testbed/installer.h"
#include "testbed/sweep.h"
#include "wizard/application_title.h"
#include "wizard/installer_app.h"
#include "wizard/page_template.h"

namespace wizard_test {
namespace {

using namespace testbed;

// Opens the sheet as the framework does, up to its first paint.
class Wizard : public ::testing::Test {
  protected:
    TestMachine machine;
    DriveBay drives{machine};
    RecordingView view;
    std::optional<wizard::CPropertyDlg> sheet;

    void OpenSheet() {
        view.sheet = &sheet.emplace(machine.os, view, wizard::kSheetTitle);
        if (sheet->OnCreate() == 0) {
            sheet->OnInitDialog();
            sheet->OnPaint();
        }
    }
};

using Strings = std::vector<std::string>;
Strings Join(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The page grows by twice the tab's bottom as it was before the tabs moved.
const Strings kInit{"DefaultOnInitDialog",
                    "CreatePageFont Comic Sans MS 120",
                    "SetLineFont 1004",
                    "SetLineFont 1005",
                    "SetLineFont 1020",
                    "SetTabsAtBottom",
                    "SetWindowText Norvask Rovane Stashwell ver 1.1",
                    "MovePage 7 7 334 210",
                    "SetActivePage",
                    "OkText [ Install ]"};
const Strings kPlain = Join({"DefaultOnCreate", "MoveWindow 100 80 449 400"}, kInit);
const Strings kBanner =
    Join(Join({"DefaultOnCreate", "LoadBanner 135", "MoveWindow 100 80 714 400"}, kInit),
         {"DrawBanner 341 6"});
const Strings kUnloaded = Join({"DefaultOnCreate", "LoadBanner 135", kPlain[1]}, kInit);
const Strings kExit{"Exit 0"};
const Strings kSeveral{
    "More than one Suported Rovane detected under Windows.\r\nPlease unplug one "
    "and restart the application!"};
const Strings kDesktop{
    "Please run this application from DESKTOP folder. \r\nIf still does not "
    "work contact Norvask"};
const std::string kNoDirectory =
    "System Error: " + hosted::SystemMessageText(win::kErrorAccessDenied) + "!";

// What the machine and the window are like before the sheet opens.
// clang-format off
struct Before {
    static void Nothing(TestMachine&, RecordingView&) {}
    static void NoWindow(TestMachine&, RecordingView& v) { v.createResult = -1; }
    static void NoBanner(TestMachine&, RecordingView& v) { v.bannerLoads = false; }
    static void NoPath(TestMachine& m, RecordingView&) { m.facts().modulePath = ""; }
    static void NoDirectory(TestMachine& m, RecordingView&) {
        m.facts().currentDirectoryMode = hosted::CurrentDirectoryMode::Failing;
    }
};
// clang-format on

// The drives plugged in from E: on and what else is so; then the boxes and
// what the logic did to the window.
struct Opening {
    const char* name;
    std::vector<DriveModel> drives;
    void (*before)(TestMachine&, RecordingView&);
    Strings boxes;
    Strings calls;
};

class Sheet : public Wizard, public ::testing::WithParamInterface<Opening> {};

TEST_P(Sheet, ShowsItsBoxesAndDrawsItsWindow) {
    char letter = 'E';
    for (const DriveModel& model : GetParam().drives) {
        drives.Plug(model, letter++);
    }
    GetParam().before(machine, view);
    try {
        OpenSheet();
    } catch (const ProcessExit&) {
    }
    EXPECT_EQ(machine.ui.Texts(), GetParam().boxes);
    EXPECT_EQ(view.calls, GetParam().calls);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Openings, Sheet, ::testing::Values(
    Opening{"NoDrive", {}, Before::Nothing, {}, kPlain},
    Opening{"KestrelDrive", {kKestrelGeneric}, Before::Nothing, {}, kBanner},
    Opening{"OrcaDrive", {kOrcaSlim}, Before::Nothing, {}, kBanner},
    Opening{"TwoOrcaDrives", {kOrcaSlim, kOrcaSlim}, Before::Nothing, {}, kBanner},
    Opening{"ThirdGroupDrive", {kCountOnly}, Before::Nothing, {}, kPlain},
    Opening{"BannerThatCannotLoad", {kOrcaSlim}, Before::NoBanner, {}, kUnloaded},
    Opening{"WindowThatCannotBeMade", {kOrcaSlim}, Before::NoWindow, {}, {"DefaultOnCreate"}},
    Opening{"OrcaAndKestrel", {kOrcaSlim, kKestrelGeneric}, Before::Nothing, kSeveral, kExit},
    Opening{"KestrelAndThird", {kKestrelGeneric, kCountOnly}, Before::Nothing, kSeveral, kExit},
    Opening{"OrcaAndThird", {kOrcaSlim, kCountOnly}, Before::Nothing, kSeveral, kExit},
    Opening{"AllGroups", {kCountOnly, kOrcaSlim, kKestrelGeneric}, Before::Nothing, kSeveral, kExit},
    Opening{"OwnPathUnreadable", {}, Before::NoPath, kDesktop, kExit},
    // The sheet activates its page again as its initialisation ends, so the
    // page refreshes twice and reports the current directory twice.
    Opening{"CurrentDirectoryUnreadable", {}, Before::NoDirectory, {kNoDirectory, kNoDirectory},
            kPlain}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Wizard, ReadsItsOwnPathCutToItsRoomAndColoursThePageLines) {
    // Room: the current directory's 4 bytes and 260 more, the terminator in it.
    machine.facts().modulePath = "C:\\" + std::string(300, 'x') + ".exe";
    OpenSheet();
    EXPECT_EQ(sheet->Store().InstallerPath(), machine.facts().modulePath.substr(0, 263));
    EXPECT_EQ(sheet->Store().HeaderLength(), 660u);
    for (int id : wizard::kInstallPageLinesTopDown) {
        ASSERT_NE(sheet->Page().Line(id), nullptr) << id;
        EXPECT_EQ(sheet->Page().Line(id)->CtlColor(), (wizard::LineColors{0x080808, 0x0A0A0A}));
    }
    EXPECT_EQ(sheet->Page().Line(1), nullptr);
}

// The page: "drive line|module line", "|support" and "|Install" while shown.
const std::string kReady = "Rovane found: [E] drive|Ready to INSTALL!|support|Install";
const std::string kMissing = "Rovane found: [E] drive|Stashwell ver 1.1 is NOT included!|support";
const std::string kNoDrive = "No flash drive detected.|Please insert Rovane Slim or Prism";
const std::string kClosed = kReady + "|closed";
const std::string kComplete = "Thank you for using Norvask product!\r\nInstallation Complete!";
const std::string kFailed = "Unable To Continue Installation!\r\nGood Bye!";
const std::string kReplace = " \r\nalready exist!  Delete this file before Installing?";
const Module kBroken{"NOT_A_STORE_TAG", "x", "", "x"};
const Module kA = OrcaModule("A.dat", "", "a");
const Module kB = OrcaModule("B.dat", "", "b");
const Module kK = KestrelModule("K.dat", "", "k");
const Module kHidden{store::kOrcaTag, "H.dat", "Help", "h", win::kFileAttributeHidden};
constexpr int kNo = win::kIdNo;
constexpr int kYes = win::kIdYes;

// What happens between the refresh and Install.
// clang-format off
struct Meanwhile {
    static void Pull(TestMachine&, DriveBay& b) { b.Pull('E'); }
    static void Swap(TestMachine&, DriveBay& b) { b.Pull('E'), b.Plug(kKestrelGeneric, 'E'); }
    static void Move(TestMachine& m, DriveBay& b) { Pull(m, b), b.Plug(kOrcaSlim, 'F'), m.AddDrive('E'); }
    static void Repack(TestMachine& m, DriveBay&) { m.AddFile(kInstallerPath, BuildInstaller({kK}).bytes); }
    // The nth call of the kind from now on fails.
    template <Call call, int nth, std::uint32_t error>
    static void Fail(TestMachine& m, DriveBay&) { m.faults.FailNth(call, m.faults.Count(call) + nth, error); }
};
// clang-format on

// The drive at E:, the installer's modules, the read-only files on E: that
// hold "old", what happens meanwhile, the answers and the presses of Install;
// then the boxes, the page ("|closed" when the last press closes the sheet,
// "|Exit 0" when the program ends) and E:, its files as "path=contents".
struct Situation {
    const char* name;
    const DriveModel* drive;
    std::vector<Module> modules;
    Strings before;
    void (*meanwhile)(TestMachine&, DriveBay&);
    std::deque<int> answers;
    int presses;
    Strings boxes;
    std::string page;
    Strings drive_e;
};

class Install : public Wizard, public ::testing::WithParamInterface<Situation> {
  protected:
    std::string Page() const {
        return view.Line(wizard::kDriveLineId).text + "|" + view.Line(wizard::kModuleLineId).text +
               (view.Line(wizard::kSupportLineId).visible ? "|support" : "") +
               (view.okVisible ? "|Install" : "");
    }
    Strings DriveE() {
        Strings listing;
        for (const std::string& entry : machine.Exists("E:\\") ? machine.Tree('E') : listing) {
            const bool hidden = machine.Attributes(entry) & win::kFileAttributeHidden;
            listing.push_back(entry.back() == '\\' ? entry
                                                   : entry + "=" + machine.Contents(entry) +
                                                         (hidden ? " hidden" : ""));
        }
        return listing;
    }
};

TEST_P(Install, ShowsItsBoxesAndPageAndFillsTheDrive) {
    const Situation& s = GetParam();
    machine.AddFile(kInstallerPath, BuildInstaller(s.modules).bytes);
    if (s.drive) {
        drives.Plug(*s.drive, 'E');
    }
    for (const std::string& path : s.before) {
        machine.AddFile(path, "old", win::kFileAttributeReadonly);
    }
    OpenSheet();
    if (s.meanwhile) {
        s.meanwhile(machine, drives);
    }
    machine.ui.answers = s.answers;
    std::string end;
    try {
        for (int press = 0; press < s.presses; ++press) {
            EXPECT_TRUE(view.okVisible) << "Install is hidden";
            end = sheet->Page().OnApply() ? "|closed" : "";
            sheet->OnPaint();
        }
    } catch (const ProcessExit&) {
        end = "|" + view.calls.back();
    }
    EXPECT_EQ(machine.ui.Texts(), s.boxes);
    EXPECT_EQ(Page() + end, s.page);
    EXPECT_EQ(DriveE(), s.drive_e);
    for (const ShownBox& box : machine.ui.shown) {
        const bool question = box.text.ends_with(kReplace);
        EXPECT_EQ(box.caption, question ? "Overwrite" : "") << box.text;
        EXPECT_EQ(box.type & win::kMbTypeMask, question ? win::kMbYesNo : win::kMbOk);
    }
    ExpectNothingLeftOpen(machine);
    ExpectReasonsAreFailures(machine);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Situations, Install, ::testing::Values(
    Situation{"OrcaDrive", &kOrcaSlim, {kK, kA}, {}, nullptr, {}, 0, {}, kReady, {}},
    Situation{"KestrelDrive", &kKestrelGeneric, {kK}, {}, nullptr, {}, 0, {}, kReady, {}},
    Situation{"DriveWithoutItsModules", &kOrcaSlim, {kK}, {}, nullptr, {}, 0, {}, kMissing, {}},
    Situation{"StoreBrokenAtItsEnd", &kOrcaSlim, {kA, kBroken}, {}, nullptr, {}, 0, {}, kMissing, {}},
    Situation{"NoDrive", nullptr, {kA}, {}, nullptr, {}, 0, {}, kNoDrive, {}},
    Situation{"CopiesTheDrivesKind", &kOrcaSlim, {kA, kK, kHidden}, {}, nullptr, {}, 1, {kComplete},
              kClosed, {"E:\\A.dat=a", "E:\\Help\\", "E:\\Help\\H.dat=h hidden"}},
    Situation{"AsksBeforeReplacing", &kOrcaSlim, {kA, kHidden}, {"E:\\A.dat", "E:\\Help\\H.dat"},
              nullptr, {kNo, kYes}, 1, {"E:\\Help\\H.dat" + kReplace, "E:\\A.dat" + kReplace,
              kComplete}, kClosed, {"E:\\A.dat=a", "E:\\Help\\", "E:\\Help\\H.dat=old"}},
    Situation{"NoModuleOfTheKindLeft", &kOrcaSlim, {kA}, {}, Meanwhile::Repack, {}, 1, {kFailed},
              kReady, {}},
    Situation{"StoreBrokenInTheWalk", &kOrcaSlim, {kA, kBroken, kB}, {}, nullptr, {}, 1, {kFailed},
              kReady, {"E:\\B.dat=b"}},
    Situation{"DrivePulled", &kOrcaSlim, {kA}, {}, Meanwhile::Pull, {}, 1,
              {"Unable to get Rovane Information!"}, kNoDrive, {}},
    Situation{"DriveOfTheOtherKind", &kOrcaSlim, {kA}, {}, Meanwhile::Swap, {}, 1,
              {"The Rovane has been changed!. Please restart the application!\r\nGood Bye!"},
              kReady + "|Exit 0", {}},
    Situation{"DriveMovedIsFilledAtItsOldLetter", &kOrcaSlim, {kA}, {}, Meanwhile::Move, {}, 1,
              {kComplete}, kClosed, {"E:\\A.dat=a"}},
    // The target is probed as the framework's file opens it, sharing it with
    // no other opener, after the walk has measured the installer.
    Situation{"TargetOpenElsewhere", &kOrcaSlim, {kA}, {"E:\\A.dat"},
              Meanwhile::Fail<Call::GetFileLength, 2, win::kErrorSharingViolation>, {}, 1,
              {kFailed}, kReady, {"E:\\A.dat=old"}},
    Situation{"TargetThatCannotBeDeleted", &kOrcaSlim, {kA}, {"E:\\A.dat"},
              Meanwhile::Fail<Call::DeleteFile, 1, kInjected>, {kYes}, 1, {"E:\\A.dat" + kReplace,
              "Unable to delete File: E:\\A.dat \r\nError Message: " + FaultText(),
              "Unable to delete file: E:\\A.dat \r\nError: " + FaultText(), kFailed},
              kReady, {"E:\\A.dat=old"}},
    Situation{"FolderThatCannotBeMade", &kOrcaSlim, {kHidden}, {},
              Meanwhile::Fail<Call::CreateDirectory, 1, kInjected>, {}, 1, {kFailed}, kReady, {}},
    // The module appended last is copied first; each press walks the store afresh.
    Situation{"DiskFullThenPressedAgain", &kOrcaSlim, {kA, kB}, {},
              Meanwhile::Fail<Call::Write, 2, win::kErrorDiskFull>, {kNo}, 2,
              {kFailed, "E:\\B.dat" + kReplace, kComplete}, kClosed, {"E:\\A.dat=a", "E:\\B.dat=b"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Framework : wizard::Framework {
    Strings steps;
    void Enable3dControls() override { steps.push_back("Enable3dControls"); }
    int DoModal(wizard::CPropertyDlg& sheet) override {
        return steps.push_back("DoModal " + sheet.Caption()), 1;
    }
};

TEST_F(Wizard, ApplicationRunsTheTitledSheetModally) {
    Framework framework;
    EXPECT_TRUE(wizard::CInstallerApp(machine.os, view, framework).InitInstance());
    EXPECT_EQ(framework.steps,
              (Strings{"Enable3dControls", "DoModal " + std::string(wizard::kSheetTitle)}));
}

TEST(ApplicationTitle, IsTheExecutableNameWithoutFolderAndExtension) {
    EXPECT_EQ(wizard::ApplicationTitle("C:\\Setup\\StashwellSetup.exe"), "StashwellSetup");
    EXPECT_EQ(wizard::ApplicationTitle("/opt/stashwell/stashwell-setup"), "stashwell-setup");
    EXPECT_EQ(wizard::ApplicationTitle("E:Setup.v1.1.exe"), "Setup.v1.1");
    EXPECT_EQ(wizard::ApplicationTitle("StashwellSetup"), "StashwellSetup");
}

}  // namespace
}  // namespace wizard_test
