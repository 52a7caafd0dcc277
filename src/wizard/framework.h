// What runs the installer's window: the renderer's side of the application
// framework. CInstallerApp builds the sheet and hands it to DoModal, which
// creates the window, runs it and returns when it closes. While it runs, the
// renderer calls the sheet's and the page's handlers:
//   window creation        CPropertyDlg::OnCreate (-1: no window, return)
//   dialog initialisation  CPropertyDlg::OnInitDialog, which runs the page's
//                          OnInitDialog and OnSetActive through
//                          SheetView::DefaultOnInitDialog
//   every paint            CPropertyDlg::OnPaint
//   the OK button pressed  CInstallPageDlg::OnApply; true closes the sheet
//   Cancel                 closes the sheet
// The OK button can be pressed only while it is shown. The sheet has no
// Apply button.
#pragma once

namespace wizard {

class CPropertyDlg;

class Framework {
  public:
    virtual ~Framework() = default;

    // CWinApp::Enable3dControls.
    virtual void Enable3dControls() = 0;
    // Runs the sheet modally; returns when it closes.
    virtual int DoModal(CPropertyDlg& sheet) = 0;
};

}  // namespace wizard
