// The application: the sheet run modally by the framework, from start to end.
#include <gtest/gtest.h>

#include "wizard/application_title.h"
#include "wizard/installer_app.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

// Runs the sheet as a renderer does, pressing Install once if it is shown.
class PressingFramework : public wizard::Framework {
  public:
    explicit PressingFramework(RecordingView& view) : view_(view) {}

    std::vector<std::string> steps;
    std::string caption;

    void Enable3dControls() override { steps.push_back("Enable3dControls"); }

    int DoModal(wizard::CPropertyDlg& sheet) override {
        steps.push_back("DoModal");
        caption = sheet.Caption();
        view_.sheet = &sheet;
        if (sheet.OnCreate() == -1) {
            return -1;
        }
        sheet.OnInitDialog();
        sheet.OnPaint();
        if (view_.okVisible) {
            steps.push_back(sheet.Page().OnApply() ? "closed by Install" : "left open");
        }
        return 1;
    }

  private:
    RecordingView& view_;
};

class InstallerApp : public WizardTest {
  protected:
    PressingFramework framework{view};
    wizard::CInstallerApp app{machine.os, view, framework};
};

TEST_F(InstallerApp, RunsTheTitledSheetToACompleteInstallation) {
    Pack({OrcaModule("Stash.exe", "", "program")});
    drives.Plug(kOrcaSlim, 'E');
    EXPECT_TRUE(app.InitInstance());
    EXPECT_EQ(framework.steps,
              (std::vector<std::string>{"Enable3dControls", "DoModal", "closed by Install"}));
    EXPECT_EQ(framework.caption, "Norvask Rovane Stashwell ver 1.1");
    EXPECT_EQ(machine.files.Contents("E:\\Stash.exe"), "program");
}

TEST_F(InstallerApp, MixOfGroupsEndsTheProgramBeforeThePageIsShown) {
    drives.Plug(kOrcaSlim, 'E');
    drives.Plug(kKestrelGeneric, 'F');
    EXPECT_THROW(app.InitInstance(), ProcessExit);
    EXPECT_FALSE(view.Called("DefaultOnInitDialog"));
    EXPECT_FALSE(view.Called("SetLineText"));
    EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(InstallerApp, WindowThatCannotBeCreatedEndsTheRunQuietly) {
    view.createResult = -1;
    EXPECT_TRUE(app.InitInstance());
    EXPECT_FALSE(view.Called("DefaultOnInitDialog"));
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace wizard_test

namespace wizard_test {
namespace {

TEST(ApplicationTitle, IsTheExecutableNameWithoutFolderAndExtension) {
    EXPECT_EQ(wizard::ApplicationTitle("C:\\Setup\\StashwellSetup.exe"), "StashwellSetup");
    EXPECT_EQ(wizard::ApplicationTitle("/opt/stashwell/stashwell-setup"), "stashwell-setup");
    EXPECT_EQ(wizard::ApplicationTitle("E:Setup.v1.1.exe"), "Setup.v1.1");
    EXPECT_EQ(wizard::ApplicationTitle("StashwellSetup"), "StashwellSetup");
}

}  // namespace
}  // namespace wizard_test
