// The install page's three pictures, its font and its coloured lines.
#include <gtest/gtest.h>

#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using wizard::kDriveLineId;
using wizard::kModuleLineId;
using wizard::kSupportLineId;

class InstallPageRefresh : public WizardTest {
  protected:
    void ExpectDriveFound(const std::string& driveLine, const std::string& moduleLine,
                          bool installShown) {
        EXPECT_EQ(LineText(kDriveLineId), driveLine);
        EXPECT_EQ(LineText(kModuleLineId), moduleLine);
        EXPECT_TRUE(LineVisible(kModuleLineId));
        EXPECT_TRUE(LineVisible(kSupportLineId));
        EXPECT_EQ(LineText(kSupportLineId), "");
        EXPECT_EQ(view.okVisible, installShown);
    }
};

TEST_F(InstallPageRefresh, DriveWithModulesIsReadyToInstall) {
    Pack({OrcaModule("Stash.exe", "", "program")});
    drives.Plug(kOrcaSlim, 'E');
    OpenSheet();
    ExpectDriveFound("Rovane found: [E] drive", "Ready to INSTALL!", true);
    EXPECT_EQ(Page().Variant(), 1);
    EXPECT_EQ(Page().DriveLetter(), 'E');
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(InstallPageRefresh, DriveWithoutModulesOfItsVariantSaysSoAndHidesInstall) {
    Pack({KestrelModule("Stash.exe", "", "program")});
    drives.Plug(kOrcaSlim, 'F');
    OpenSheet();
    ExpectDriveFound("Rovane found: [F] drive", "Stashwell ver 1.1 is NOT included!", false);
}

TEST_F(InstallPageRefresh, KestrelDriveFindsKestrelModules) {
    Pack({KestrelModule("Stash.exe", "", "program"), OrcaModule("Stash.exe", "", "program")});
    drives.Plug(kKestrelGeneric, 'G');
    OpenSheet();
    ExpectDriveFound("Rovane found: [G] drive", "Ready to INSTALL!", true);
    EXPECT_EQ(Page().Variant(), 2);
}

TEST_F(InstallPageRefresh, NoDriveAsksForOneAndHidesTheSupportLineAndInstall) {
    Pack({OrcaModule("Stash.exe", "", "program")});
    OpenSheet();
    EXPECT_EQ(LineText(kDriveLineId), "No flash drive detected.");
    EXPECT_EQ(LineText(kModuleLineId), "Please insert Rovane Slim or Prism");
    EXPECT_TRUE(LineVisible(kModuleLineId));
    EXPECT_FALSE(LineVisible(kSupportLineId));
    EXPECT_FALSE(view.okVisible);
    EXPECT_EQ(Page().Variant(), -1);
    EXPECT_EQ(Page().DriveLetter(), 0);
}

TEST_F(InstallPageRefresh, ThirdGroupDriveAloneIsNoDrive) {
    Pack({OrcaModule("Stash.exe", "", "program")});
    drives.Plug(kCountOnly, 'E');
    OpenSheet();
    EXPECT_EQ(LineText(kDriveLineId), "No flash drive detected.");
    EXPECT_FALSE(view.okVisible);
}

// A store whose walk fails says nothing of what it holds: the installer is
// not ready, and Install stays hidden.
TEST_F(InstallPageRefresh, StoreThatCannotBeWalkedIsNotReady) {
    Pack({OrcaModule("Stash.exe", "", "program"), {"NOT_A_STORE_TAG", "x", "", "x"}});
    drives.Plug(kOrcaSlim, 'E');
    OpenSheet();
    ExpectDriveFound("Rovane found: [E] drive", "Stashwell ver 1.1 is NOT included!", false);
}

TEST_F(InstallPageRefresh, MissingInstallerFileIsNotReady) {
    drives.Plug(kOrcaSlim, 'E');
    OpenSheet();
    ExpectDriveFound("Rovane found: [E] drive", "Stashwell ver 1.1 is NOT included!", false);
}

TEST_F(InstallPageRefresh, DrivePluggedWhileShowingNoDriveIsSeenOnlyAtTheNextActivation) {
    Pack({OrcaModule("Stash.exe", "", "program")});
    OpenSheet();
    drives.Plug(kOrcaSlim, 'E');
    sheet->OnPaint();
    EXPECT_EQ(LineText(kDriveLineId), "No flash drive detected.");
    Page().OnSetActive();
    ExpectDriveFound("Rovane found: [E] drive", "Ready to INSTALL!", true);
}

TEST_F(InstallPageRefresh, LinesGetTheComicSansPageFont) {
    OpenSheet();
    EXPECT_EQ(view.fontFace, "Comic Sans MS");
    EXPECT_EQ(view.fontPointTenths, 120);
    for (int id : {kDriveLineId, kModuleLineId, kSupportLineId}) {
        EXPECT_TRUE(view.Line(id).pageFont) << id;
    }
}

TEST_F(InstallPageRefresh, FontThatCannotBeCreatedLeavesTheTemplateFont) {
    view.fontCreates = false;
    OpenSheet();
    for (int id : {kDriveLineId, kModuleLineId, kSupportLineId}) {
        EXPECT_FALSE(view.Line(id).pageFont) << id;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(InstallPageRefresh, LinesPaintWindowTextOnActiveBorder) {
    view.windowTextColor = 0x112233;
    view.activeBorderColor = 0x445566;
    OpenSheet();
    for (int id : {kDriveLineId, kModuleLineId, kSupportLineId}) {
        ASSERT_NE(Page().Line(id), nullptr) << id;
        EXPECT_EQ(Page().Line(id)->CtlColor(), (wizard::LineColors{0x112233, 0x445566}));
        EXPECT_EQ(Page().Line(id)->ControlId(), id);
    }
    EXPECT_EQ(Page().Line(1), nullptr);
}

TEST(ColorStatic, NewBackgroundRepaintsTheLineNewTextColourWaitsForThePaint) {
    RecordingView view;
    wizard::CColorStatic line(view, kModuleLineId);
    EXPECT_EQ(line.SetBackColor(0x0000FF), view.activeBorderColor);
    EXPECT_EQ(view.Line(kModuleLineId).invalidations, 1);
    EXPECT_EQ(line.SetForeColor(0x00FF00), view.windowTextColor);
    EXPECT_EQ(view.Line(kModuleLineId).invalidations, 1);
    EXPECT_EQ(line.GetBackColor(), 0x0000FFu);
    EXPECT_EQ(line.GetForeColor(), 0x00FF00u);
    EXPECT_EQ(line.CtlColor(), (wizard::LineColors{0x00FF00, 0x0000FF}));
}

}  // namespace
}  // namespace wizard_test
