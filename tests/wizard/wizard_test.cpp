// The wizard on the test machine, drawn on a recording window: the sheet as
// it opens, the install page in each situation, and the application.
#include <gtest/gtest.h>

#include "platform/hosted/error_text.h"
#include "recording_view.h"
#include "testbed/installer.h"
#include "testbed/plugged_drives.h"
#include "testbed/sweep.h"
#include "wizard/application_title.h"
#include "wizard/installer_app.h"
#include "wizard/page_template.h"

namespace wizard_test {
namespace {

using namespace testbed;

// Plugs drives in from E: on, and opens the sheet as the framework does, up to
// its first paint.
struct Wizard : ::testing::Test {
    TestMachine machine;
    DriveBay drives{machine};
    RecordingView view;
    std::optional<wizard::CPropertyDlg> sheet;

    void Plug(const std::vector<DriveModel>& models) {
        for (std::size_t at = 0; at < models.size(); ++at) {
            drives.Plug(models[at], static_cast<char>('E' + at));
        }
    }
    void OpenSheet() {
        view.sheet = &sheet.emplace(machine.os, view, wizard::kSheetTitle);
        if (sheet->OnCreate() == 0) {
            sheet->OnInitDialog();
            sheet->OnPaint();
        }
    }
};

using Strings = std::vector<std::string>;
using Setup = void (*)(Wizard&);
Strings Join(Strings a, const Strings& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The page grows by twice the tab's bottom as it was before the tabs moved.
// clang-format off
const Strings kInit{"DefaultOnInitDialog", "CreatePageFont Comic Sans MS 120", "SetLineFont 1004",
    "SetLineFont 1005", "SetLineFont 1020", "SetTabsAtBottom",
    "SetWindowText Norvask Rovane Stashwell ver 1.1", "PageAt 7 7 334 210", "SetActivePage",
    "OkText [ Install ]"};
// clang-format on
const Strings kPlain = Join({"DefaultOnCreate", "WindowAt 100 80 449 400"}, kInit);
const Strings kBanner =
    Join(Join({"DefaultOnCreate", "LoadBanner 135", "WindowAt 100 80 714 400"}, kInit),
         {"DrawBanner 341 6"});
const Strings kUnloaded = Join({"DefaultOnCreate", "LoadBanner 135", kPlain[1]}, kInit);
const Strings kExit{"Exit 0"};
const Strings kSeveral{
    "More than one Suported Rovane detected under "
    "Windows.\r\nPlease unplug one "
    "and restart the application!"};
const Strings kDesktop{
    "Please run this application from DESKTOP folder. \r\nIf still does not "
    "work contact Norvask"};
const std::string kNoDirectory =
    "System Error: " + hosted::SystemMessageText(win::kErrorAccessDenied) + "!";

// What is so before the sheet opens, or happens between the refresh and
// Install.
// clang-format off
struct Do {
    static void NoWindow(Wizard& w) { w.view.createResult = -1; }
    static void NoBanner(Wizard& w) { w.view.bannerLoads = false; }
    static void NoPath(Wizard& w) { w.machine.facts().modulePath = ""; }
    static void NoDirectory(Wizard& w) {
        w.machine.facts().currentDirectoryMode = hosted::CurrentDirectoryMode::Failing;
    }
    static void Pull(Wizard& w) { w.drives.Pull('E'); }
    static void Swap(Wizard& w) { Pull(w), w.drives.Plug(kKestrelGeneric, 'E'); }
    static void Move(Wizard& w) { Pull(w), w.drives.Plug(kOrcaSlim, 'F'), w.machine.AddDrive('E'); }
    static void Repack(Wizard& w) {
        w.machine.AddFile(kInstallerPath, BuildInstaller({KestrelModule("K", "", "")}).bytes);
    }
    // The nth call of the kind from now on fails.
    template <Call call, int nth, std::uint32_t error>
    static void Fail(Wizard& w) {
        w.machine.faults.FailNth(call, w.machine.faults.Count(call) + nth, error);
    }
};
// clang-format on

// The drives plugged in from E: on and what else is so; then the boxes and
// what the logic did to the window.
struct Opening {
    const char* name;
    std::vector<DriveModel> drives;
    Setup before;
    Strings boxes;
    Strings calls;
};

struct Sheet : Wizard, ::testing::WithParamInterface<Opening> {};

TEST_P(Sheet, ShowsItsBoxesAndDrawsItsWindow) {
    Plug(GetParam().drives);
    if (GetParam().before) {
        GetParam().before(*this);
    }
    try {
        OpenSheet();
    } catch (const ProcessExit&) {
    }
    EXPECT_EQ(machine.ui.Texts(), GetParam().boxes);
    EXPECT_EQ(view.calls, GetParam().calls);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Openings, Sheet, ::testing::Values(
    Opening{"NoDrive", {}, nullptr, {}, kPlain},
    Opening{"KestrelDrive", {kKestrelGeneric}, nullptr, {}, kBanner},
    Opening{"OrcaDrive", {kOrcaSlim}, nullptr, {}, kBanner},
    Opening{"ThirdGroupDrive", {kCountOnly}, nullptr, {}, kPlain},
    Opening{"BannerThatCannotLoad", {kOrcaSlim}, Do::NoBanner, {}, kUnloaded},
    Opening{"WindowThatCannotBeMade", {kOrcaSlim}, Do::NoWindow, {}, {"DefaultOnCreate"}},
    Opening{"OrcaAndKestrel", {kOrcaSlim, kKestrelGeneric}, nullptr, kSeveral, kExit},
    Opening{"OwnPathUnreadable", {}, Do::NoPath, kDesktop, kExit},
    // The sheet activates its page again as its initialisation ends, so the
    // page refreshes twice and reports the current directory twice.
    Opening{"CurrentDirectoryUnreadable", {}, Do::NoDirectory, {kNoDirectory, kNoDirectory},
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

// The drive at E:, the installer's modules, the read-only files on E: that
// hold "old", what happens meanwhile, the answers and the presses of Install;
// then the boxes, the page ("|closed" when the last press closes the sheet,
// "|Exit 0" when the program ends) and E:, its files as "path=contents".
struct Situation {
    const char* name;
    std::vector<DriveModel> drives;
    std::vector<Module> modules;
    Strings before;
    Setup meanwhile;
    std::deque<int> answers;
    int presses;
    Strings boxes;
    std::string page;
    Strings drive_e;
};

struct Install : Wizard, ::testing::WithParamInterface<Situation> {
    std::string Page() const {
        return view.lines.at(wizard::kDriveLineId).text + "|" +
               view.lines.at(wizard::kModuleLineId).text +
               (view.lines.at(wizard::kSupportLineId).visible ? "|support" : "") +
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
    Plug(s.drives);
    for (const std::string& path : s.before) {
        machine.AddFile(path, "old", win::kFileAttributeReadonly);
    }
    OpenSheet();
    if (s.meanwhile) {
        s.meanwhile(*this);
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
        EXPECT_EQ(box.caption, box.text.ends_with(kReplace) ? "Overwrite" : "") << box.text;
    }
    ExpectNothingLeftOpen(machine);
    ExpectReasonsAreFailures(machine);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Situations, Install, ::testing::Values(
    Situation{"OrcaDrive", {kOrcaSlim}, {kK, kA}, {}, nullptr, {}, 0, {}, kReady, {}},
    Situation{"DriveWithoutItsModules", {kOrcaSlim}, {kK}, {}, nullptr, {}, 0, {}, kMissing, {}},
    Situation{"NoDrive", {}, {kA}, {}, nullptr, {}, 0, {}, kNoDrive, {}},
    Situation{"CopiesTheDrivesKind", {kOrcaSlim}, {kA, kK, kHidden}, {}, nullptr, {}, 1,
              {kComplete}, kClosed, {"E:\\A.dat=a", "E:\\Help\\", "E:\\Help\\H.dat=h hidden"}},
    Situation{"NoKeepsYesReplacesReadOnly", {kOrcaSlim}, {kA, kHidden}, {"E:\\A.dat", "E:\\Help\\H.dat"},
              nullptr, {kNo, kYes}, 1, {"E:\\Help\\H.dat" + kReplace, "E:\\A.dat" + kReplace,
              kComplete}, kClosed, {"E:\\A.dat=a", "E:\\Help\\", "E:\\Help\\H.dat=old"}},
    Situation{"NoModuleOfTheKindLeft", {kOrcaSlim}, {kA}, {}, Do::Repack, {}, 1, {kFailed},
              kReady, {}},
    Situation{"StoreBrokenInTheWalk", {kOrcaSlim}, {kA, kBroken, kB}, {}, nullptr, {}, 1, {kFailed},
              kReady, {"E:\\B.dat=b"}},
    Situation{"DrivePulled", {kOrcaSlim}, {kA}, {}, Do::Pull, {}, 1,
              {"Unable to get Rovane Information!"}, kNoDrive, {}},
    Situation{"DriveOfTheOtherKind", {kOrcaSlim}, {kA}, {}, Do::Swap, {}, 1,
              {"The Rovane has been changed!. Please restart the application!\r\nGood Bye!"},
              kReady + "|Exit 0", {}},
    Situation{"DriveMovedIsFilledAtItsOldLetter", {kOrcaSlim}, {kA}, {}, Do::Move, {}, 1,
              {kComplete}, kClosed, {"E:\\A.dat=a"}},
    // The target is probed as the framework's file opens it, sharing it with
    // no other opener, after the walk has measured the installer.
    Situation{"TargetOpenElsewhere", {kOrcaSlim}, {kA}, {"E:\\A.dat"},
              Do::Fail<Call::GetFileLength, 2, win::kErrorSharingViolation>, {}, 1,
              {kFailed}, kReady, {"E:\\A.dat=old"}},
    Situation{"TargetThatCannotBeDeleted", {kOrcaSlim}, {kA}, {"E:\\A.dat"},
              Do::Fail<Call::DeleteFile, 1, kInjected>, {kYes}, 1, {"E:\\A.dat" + kReplace,
              "Unable to delete File: E:\\A.dat \r\nError Message: " + FaultText(),
              "Unable to delete file: E:\\A.dat \r\nError: " + FaultText(), kFailed},
              kReady, {"E:\\A.dat=old"}},
    // The module appended last is copied first; each press walks the store afresh.
    Situation{"DiskFullThenPressedAgain", {kOrcaSlim}, {kA, kB}, {},
              Do::Fail<Call::Write, 2, win::kErrorDiskFull>, {kNo}, 2,
              {kFailed, "E:\\B.dat" + kReplace, kComplete}, kClosed,
              {"E:\\A.dat=a", "E:\\B.dat=b"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Wizard, ApplicationRunsTheTitledSheetModally) {
    struct : wizard::Framework {
        Strings steps;
        void Enable3dControls() override { steps.push_back("Enable3dControls"); }
        int DoModal(wizard::CPropertyDlg& s) override {
            return steps.push_back("DoModal " + s.Caption()), 1;
        }
    } framework;
    EXPECT_TRUE(wizard::CInstallerApp(machine.os, view, framework).InitInstance());
    EXPECT_EQ(framework.steps,
              (Strings{"Enable3dControls", "DoModal " + std::string(wizard::kSheetTitle)}));
}

TEST(ApplicationTitle, IsTheExecutableNameWithoutFolderAndExtension) {
    EXPECT_EQ(wizard::ApplicationTitle("C:\\Setup\\StashwellSetup.exe"), "StashwellSetup");
    EXPECT_EQ(wizard::ApplicationTitle("/opt/stashwell/stashwell-setup"), "stashwell-setup");
    EXPECT_EQ(wizard::ApplicationTitle("E:Setup.v1.1.exe"), "Setup.v1.1");
}

}  // namespace
}  // namespace wizard_test
