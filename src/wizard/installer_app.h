// The application: runs the property sheet modally and returns when it
// closes; the program then ends with exit status 0.
#pragma once

#include "platform/platform.h"
#include "wizard/framework.h"
#include "wizard/sheet_view.h"

namespace wizard {

class CInstallerApp {
  public:
    CInstallerApp(platform::Platform& os, SheetView& view, Framework& framework);

    // Builds the sheet, runs it and returns true once it has closed.
    bool InitInstance();

  private:
    platform::Platform& os_;
    SheetView& view_;
    Framework& framework_;
};

}  // namespace wizard
