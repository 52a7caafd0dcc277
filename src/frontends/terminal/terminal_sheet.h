// The installer's sheet in a terminal: the window that the wizard's logic
// drives, and the framework that runs it. It draws the sheet after every
// paint and reads what the person presses: i (Install) and c (Cancel); the
// end of input cancels. Other lines go to the machine.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "console.h"
#include "sheet_picture.h"
#include "wizard/framework.h"
#include "wizard/property_dlg.h"
#include "wizard/sheet_view.h"

namespace setup {

class TerminalSheet : public wizard::SheetView, public wizard::Framework {
  public:
    // A line at the page that is not a button may be a command to the
    // machine under the sheet: true when it was one.
    using MachineCommand = std::function<bool(const std::string& line)>;

    TerminalSheet(Console& console, MachineCommand machineCommand);

    void Enable3dControls() override {}
    int DoModal(wizard::CPropertyDlg& sheet) override;

    int DefaultOnCreate() override { return 0; }
    bool DefaultOnInitDialog() override;
    // Activates the page again, as the Windows property sheet does.
    void SetActivePage() override;
    wizard::Rect GetWindowRect() override { return window_; }
    void MoveWindow(const wizard::Rect& rect) override { window_ = rect; }
    wizard::Rect GetClientRect() override;
    void SetWindowText(const std::string& title) override { title_ = title; }
    int FirstTabBottom() override;
    void SetTabsAtBottom() override { tabsAtBottom_ = true; }
    wizard::Rect GetPageRect() override { return page_; }
    void MovePage(const wizard::Rect& rect) override { page_ = rect; }
    void ShowOkButton(int showCommand) override;
    void SetOkButtonText(const std::string& caption) override { okCaption_ = caption; }
    bool LoadBanner(int bitmapId) override;
    int BannerWidth() override;
    void DrawBanner(int x, int y) override;
    void SetLineText(int controlId, const std::string& text) override;
    void ShowLine(int controlId, int showCommand) override;
    // The next drawing shows the line as it is.
    void InvalidateLine(int) override {}
    bool CreatePageFont(int, const std::string&) override { return true; }
    void SetLineFont(int controlId) override;
    wizard::ColorRef GetSysColor(int index) override;
    [[noreturn]] void ExitProcess(int status) override;

  private:
    struct Line {
        std::string text;
        bool visible = true;
        bool pageFont = false;
    };

    // WM_PAINT: the sheet's handler, then the picture.
    void Paint();
    SheetPicture Picture() const;

    Console& console_;
    MachineCommand machineCommand_;
    wizard::CPropertyDlg* sheet_ = nullptr;
    wizard::Rect window_;
    wizard::Rect page_;
    std::string title_;
    bool tabsAtBottom_ = false;
    bool okVisible_ = true;
    std::string okCaption_ = "OK";
    bool bannerLoaded_ = false;
    std::optional<int> bannerColumn_;
    std::map<int, Line> lines_;
};

}  // namespace setup
