#include "wizard_fixture.h"

namespace wizard_test {

void WizardTest::Pack(const std::vector<Module>& modules) {
    WriteInstaller(machine.files, machine.system.moduleFileName, modules);
}

void WizardTest::OpenSheet() {
    sheet = std::make_unique<wizard::CPropertyDlg>(machine.os, view, wizard::kSheetTitle);
    view.sheet = sheet.get();
    ASSERT_EQ(sheet->OnCreate(), 0);
    sheet->OnInitDialog();
    sheet->OnPaint();
}

bool WizardTest::PressInstall() {
    EXPECT_TRUE(view.okVisible) << "the Install button is hidden";
    const bool closes = Page().OnApply();
    sheet->OnPaint();
    return closes;
}

}  // namespace wizard_test
