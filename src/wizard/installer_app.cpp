#include "wizard/installer_app.h"

#include "wizard/property_dlg.h"

namespace wizard {

CInstallerApp::CInstallerApp(platform::Platform& os, SheetView& view, Framework& framework)
    : os_(os), view_(view), framework_(framework) {}

bool CInstallerApp::InitInstance() {
    framework_.Enable3dControls();
    CPropertyDlg sheet(os_, view_, kSheetTitle);
    // Whatever closed the sheet, the program ends.
    framework_.DoModal(sheet);
    return true;
}

}  // namespace wizard
