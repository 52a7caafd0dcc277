// The sheet: its path, title, Install caption, the refusal of a mix of drive
// groups and the banner.
#include <gtest/gtest.h>

#include "doubles/fault_plan.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using doubles::Call;
using doubles::ShownBox;

constexpr char kSeveralGroups[] =
    "More than one Suported Rovane detected under Windows.\r\nPlease unplug one and restart "
    "the application!";

TEST_F(WizardTest, ReadsItsOwnPathAndShowsTitleAndInstallCaption) {
    OpenSheet();
    EXPECT_EQ(sheet->Store().InstallerPath(), "C:\\Setup\\StashwellSetup.exe");
    EXPECT_EQ(sheet->Store().HeaderLength(), 660u);
    EXPECT_EQ(view.title, "Norvask Rovane Stashwell ver 1.1");
    EXPECT_EQ(view.okCaption, " Install ");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(WizardTest, EndsWhenItsOwnPathCannotBeRead) {
    machine.faults.FailNth(Call::GetModuleFileName, 1, win::kErrorFilenameExcedRange);
    try {
        wizard::CPropertyDlg unread(machine.os, view, wizard::kSheetTitle);
        FAIL() << "the sheet was built without its path";
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.status, 0);
    }
    EXPECT_EQ(machine.ui.shown,
              (std::vector<ShownBox>{{"Please run this application from DESKTOP folder. \r\nIf "
                                      "still does not work contact Norvask",
                                      "", win::kMbOk}}));
}

TEST_F(WizardTest, PathLongerThanItsRoomIsCutNotOverrun) {
    machine.system.currentDirectory = "C:\\";
    machine.system.moduleFileName = "C:\\" + std::string(300, 'x') + ".exe";
    OpenSheet();
    // Room: the current directory's 4 bytes and 260 more, the terminator in it.
    EXPECT_EQ(sheet->Store().InstallerPath(), machine.system.moduleFileName.substr(0, 263));
}

TEST_F(WizardTest, InitialisationPutsTabsBelowAndLengthensThePageByTwiceTheTabBottom) {
    const wizard::Rect before = view.page;
    OpenSheet();
    EXPECT_TRUE(view.tabsAtBottom);
    EXPECT_EQ(view.page, (wizard::Rect{before.left, before.top, before.right,
                                       before.bottom + 2 * view.tabBottom}));
}

// The sheet makes its page the active one again as its initialisation ends,
// so the page refreshes twice: a current directory that cannot be read is
// reported by each refresh.
TEST_F(WizardTest, InitialisationActivatesThePageAgainSoItRefreshesTwice) {
    // The sheet's construction reads the current directory's length first.
    machine.faults.FailFrom(Call::GetCurrentDirectory, 2, win::kErrorAccessDenied);
    OpenSheet();
    const std::string systemError =
        "System Error: " + machine.system.FormatMessageA(win::kErrorAccessDenied) + "!";
    EXPECT_EQ(Boxes(), (std::vector<std::string>{systemError, systemError}));
    EXPECT_EQ(view.Line(wizard::kDriveLineId).text, "No flash drive detected.");
}

class MixOfGroups : public WizardTest,
                    public ::testing::WithParamInterface<std::vector<DriveModel>> {};

TEST_P(MixOfGroups, IsRefusedBeforeTheWindowExists) {
    char letter = 'E';
    for (const DriveModel& model : GetParam()) {
        drives.Plug(model, letter++);
    }
    wizard::CPropertyDlg refusing(machine.os, view, wizard::kSheetTitle);
    view.sheet = &refusing;
    try {
        refusing.OnCreate();
        FAIL() << "a mix of drive groups was accepted";
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.status, 0);
    }
    EXPECT_EQ(machine.ui.shown, (std::vector<ShownBox>{{kSeveralGroups, "", win::kMbOk}}));
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ExitProcess"}));
    EXPECT_GE(refusing.DriveMix(), 4);
}

INSTANTIATE_TEST_SUITE_P(FourToSeven, MixOfGroups,
                         ::testing::Values(std::vector<DriveModel>{kOrcaSlim, kKestrelGeneric},
                                           std::vector<DriveModel>{kKestrelGeneric, kCountOnly},
                                           std::vector<DriveModel>{kOrcaSlim, kCountOnly},
                                           std::vector<DriveModel>{kCountOnly, kOrcaSlim,
                                                                   kKestrelGeneric}));

struct BannerCase {
    std::vector<DriveModel> drives;
    int mix;
    bool banner;
};

class BannerByMix : public WizardTest, public ::testing::WithParamInterface<BannerCase> {};

TEST_P(BannerByMix, WidensTheSheetOnlyForOneGroupOfTheTwoInstallable) {
    char letter = 'E';
    for (const DriveModel& model : GetParam().drives) {
        drives.Plug(model, letter++);
    }
    const wizard::Rect before = view.window;
    OpenSheet();
    EXPECT_EQ(sheet->DriveMix(), GetParam().mix);
    EXPECT_EQ(sheet->HasBanner(), GetParam().banner);
    const int widening = GetParam().banner ? 262 + 3 : 0;
    EXPECT_EQ(view.window,
              (wizard::Rect{before.left, before.top, before.right + widening, before.bottom}));
    EXPECT_TRUE(view.Called("MoveWindow"));
    if (GetParam().banner) {
        EXPECT_EQ(view.bannerBitmapId, 135);
        // Right of the page, as far from it as the page is from the left edge.
        EXPECT_EQ(view.bannerDrawnAt,
                  (std::vector<std::pair<int, int>>{{view.page.left + view.page.right, 6}}));
    } else {
        EXPECT_FALSE(view.Called("LoadBanner"));
        EXPECT_TRUE(view.bannerDrawnAt.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Mixes, BannerByMix,
                         ::testing::Values(BannerCase{{}, 0, false},
                                           BannerCase{{kKestrelGeneric}, 1, true},
                                           BannerCase{{kOrcaSlim}, 2, true},
                                           BannerCase{{kOrcaSlim, kOrcaSlim}, 2, true},
                                           BannerCase{{kCountOnly}, 3, false}));

TEST_F(WizardTest, BannerThatCannotBeLoadedKeepsTheWidthAndDrawsNothing) {
    drives.Plug(kOrcaSlim, 'E');
    view.bannerLoads = false;
    const wizard::Rect before = view.window;
    OpenSheet();
    EXPECT_FALSE(sheet->HasBanner());
    EXPECT_EQ(view.window, before);
    EXPECT_TRUE(view.bannerDrawnAt.empty());
}

TEST_F(WizardTest, BannerStaysAsDecidedAtStartWhenTheDriveGoes) {
    drives.Plug(kOrcaSlim, 'E');
    OpenSheet();
    drives.Pull('E');
    Page().OnSetActive();
    sheet->OnPaint();
    EXPECT_EQ(view.bannerDrawnAt.size(), 2u);
    EXPECT_EQ(view.window.right - 449, 265);
}

TEST_F(WizardTest, WindowThatCannotBeCreatedIsNeitherWidenedNorMoved) {
    drives.Plug(kOrcaSlim, 'E');
    view.createResult = -1;
    wizard::CPropertyDlg failing(machine.os, view, wizard::kSheetTitle);
    EXPECT_EQ(failing.OnCreate(), -1);
    EXPECT_FALSE(view.Called("LoadBanner"));
    EXPECT_FALSE(view.Called("MoveWindow"));
}

}  // namespace
}  // namespace wizard_test
