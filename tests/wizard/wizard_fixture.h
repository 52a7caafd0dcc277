// A fake NT machine with an installer file and a recording sheet window, on
// which a test opens the sheet and presses its buttons as the framework
// would.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "doubles/fake_machine.h"
#include "drive_bay.h"
#include "installer_image.h"
#include "recording_view.h"
#include "wizard/property_dlg.h"

namespace wizard_test {

using machines::DriveModel;
using machines::kCountOnly;
using machines::kKestrelGeneric;
using machines::kOrcaSlim;

class WizardTest : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;
    DriveBay drives{machine};
    RecordingView view;
    std::unique_ptr<wizard::CPropertyDlg> sheet;

    // Writes the running installer's file with these modules.
    void Pack(const std::vector<Module>& modules);
    // Builds the sheet and runs it as the framework does up to its first
    // paint: creation, initialisation (the page's too), paint.
    void OpenSheet();
    // Presses the OK button, which must be shown; the page's answer.
    bool PressInstall();

    wizard::CInstallPageDlg& Page() { return sheet->Page(); }
    std::string LineText(int controlId) const { return view.Line(controlId).text; }
    bool LineVisible(int controlId) const { return view.Line(controlId).visible; }
    std::vector<std::string> Boxes() const { return machine.ui.Texts(); }
};

}  // namespace wizard_test
