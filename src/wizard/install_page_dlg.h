// The install page: the sheet's one page. It names the drive found and
// whether the installer holds the modules of its variant, and on Install
// copies those modules onto the drive.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "store/module_header.h"
#include "store/module_store.h"
#include "wizard/color_static.h"
#include "wizard/install_button.h"
#include "wizard/sheet_view.h"

namespace wizard {

class CInstallPageDlg {
  public:
    // The page reads the modules from the sheet's store and shows or hides
    // the sheet's Install button; it keeps both references.
    CInstallPageDlg(InstallButton& installButton, store::ModuleStore& store, platform::Platform& os,
                    SheetView& view);

    // Once, when the sheet creates the page, before its first activation:
    // gives the three lines the page font. Returns true.
    bool OnInitDialog();
    // Each time the page becomes active: refreshes the drive state. Returns
    // true.
    bool OnSetActive();
    // The OK button (" Install ") was pressed: true when the installation is
    // complete and the sheet may close, false to keep it open.
    bool OnApply();

    // Detects the drive, fills the three lines and shows the Install button
    // only when the installer holds modules for the drive's variant.
    int RefreshDriveState();

    // The line bound to a control id, for the renderer's colour query; null
    // for any other id.
    const CColorStatic* Line(int controlId) const;

    // The state of the last refresh.
    int Variant() const { return variant_; }
    std::uint8_t DriveLetter() const { return driveLetter_; }

  private:
    // Copies each module of the page's variant, the module appended last
    // first; true once the store holds no further one, provided that one was
    // copied or skipped.
    bool InstallModules();
    // Copies one module, asking before it replaces an existing target; true
    // when it was copied or the user chose to keep the existing file.
    bool InstallModule(const store::ModuleHeader& record, std::int32_t payloadOffset);
    bool CanOpenForReading(const std::string& path);

    InstallButton& installButton_;
    store::ModuleStore& store_;
    platform::Platform& os_;
    SheetView& view_;
    CColorStatic driveLine_;
    CColorStatic supportLine_;
    CColorStatic moduleLine_;
    int variant_ = -1;
    std::uint8_t driveLetter_ = 0;
};

}  // namespace wizard
