// Runs the wizard's sheet on the system's property sheet (comctl32): one
// page from dialog template 107, no Apply button. The sheet's window is
// subclassed as it is created, so that its creation, initialisation and
// painting reach CPropertyDlg; the page's dialog procedure hands activation,
// the OK button and the colours of the lines to CInstallPageDlg.
#pragma once

#include <cstdint>

#include "frontends/win32/line_brushes.h"
#include "frontends/win32/sheet_width_keeper.h"
#include "frontends/win32/sheet_window.h"
#include "wizard/framework.h"
#include "wizard/property_dlg.h"

namespace platform::win32 {

class PropertySheetFramework final : public wizard::Framework,
                                     private SheetWindow::DefaultProcessing {
  public:
    // instance: the module that holds the page's dialog template.
    PropertySheetFramework(ModuleHandle instance, SheetWindow& window);

    void Enable3dControls() override;
    // One sheet at a time.
    int DoModal(wizard::CPropertyDlg& sheet) override;

  private:
    // The window procedures, defined with the framework.
    friend struct SheetProcedures;

    std::intptr_t RunDefault() override;

    ModuleHandle instance_;
    SheetWindow& window_;
    wizard::CPropertyDlg* sheet_ = nullptr;
    WindowHandle sheetWindow_ = nullptr;
    std::intptr_t originalProcedure_ = 0;
    // The sheet message being handled, for its default processing.
    unsigned message_ = 0;
    std::uintptr_t wParam_ = 0;
    std::intptr_t lParam_ = 0;
    SheetWidthKeeper widthKeeper_;
    LineBrushes brushes_;
};

}  // namespace platform::win32
