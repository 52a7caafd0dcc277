// The installer's property sheet: its only window. It refuses to start when
// drives of more than one group are plugged in, carries the title and the
// banner, captions its OK button " Install ", and owns the install page and
// the module store read from the installer's own file.
#pragma once

#include <string>

#include "platform/platform.h"
#include "store/module_store.h"
#include "wizard/install_button.h"
#include "wizard/install_page_dlg.h"
#include "wizard/sheet_view.h"

namespace wizard {

inline constexpr char kSheetTitle[] = "Norvask Rovane Stashwell ver 1.1";
inline constexpr char kInstallButtonCaption[] = " Install ";

class CPropertyDlg final : public InstallButton {
  public:
    // Reads the installer's own path (the file that holds the module store).
    // Ends the process when the path cannot be read. The sheet has no parent
    // window; its one page, the install page, is its start page.
    CPropertyDlg(platform::Platform& os, SheetView& view, std::string caption);

    // WM_CREATE, before the sheet is visible: counts the drive groups, ends
    // the process on a mix of groups, and widens the sheet for the banner.
    // 0, or -1 when the window cannot be created.
    int OnCreate();
    // WM_INITDIALOG: creates and activates the page (through the view), puts
    // the tabs at the bottom, sets the title and lengthens the page.
    bool OnInitDialog();
    // WM_PAINT: captions the OK button and draws the banner beside the page.
    void OnPaint();

    // Shows or hides the OK button: win::kSwHide or win::kSwShowNormal.
    void ShowInstallButton(int showCommand) override;

    const std::string& Caption() const { return caption_; }
    CInstallPageDlg& Page() { return page_; }
    // The store of the installer path, with the trailer length 660.
    store::ModuleStore& Store() { return store_; }
    // The DriveMix code counted at window creation.
    int DriveMix() const { return driveMix_; }
    bool HasBanner() const { return bannerLoaded_; }

  private:
    std::string ReadInstallerPath();

    platform::Platform& os_;
    SheetView& view_;
    std::string caption_;
    bool bannerLoaded_ = false;
    CInstallPageDlg page_;
    store::ModuleStore store_;
    int driveMix_ = 0;
};

}  // namespace wizard
