// The installer's window as the wizard's logic sees it: the system's
// property sheet (comctl32) with its one page, changed and drawn through the
// Windows user interface. The framework that runs the sheet attaches the
// windows as the system creates them.
#pragma once

#include <cstdint>
#include <string>

#include "frontends/win32/window_handles.h"
#include "wizard/sheet_view.h"

namespace platform::win32 {

class SheetWindow final : public wizard::SheetView {
  public:
    // Runs the system's own processing of the sheet message being handled.
    class DefaultProcessing {
      public:
        virtual ~DefaultProcessing() = default;
        virtual std::intptr_t RunDefault() = 0;
    };

    // instance: the module that holds the banner bitmap.
    explicit SheetWindow(ModuleHandle instance);
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;
    // Deletes the banner bitmap and the page font.
    ~SheetWindow() override;

    void AttachSheet(WindowHandle sheet, DefaultProcessing& defaults);
    void AttachPage(WindowHandle page);
    // The device context of the paint cycle in which DrawBanner draws.
    void SetPaintContext(DeviceContext context);

    int DefaultOnCreate() override;
    bool DefaultOnInitDialog() override;

    wizard::Rect GetWindowRect() override;
    void MoveWindow(const wizard::Rect& rect) override;
    wizard::Rect GetClientRect() override;
    void SetWindowText(const std::string& title) override;

    int FirstTabBottom() override;
    void SetTabsAtBottom() override;
    wizard::Rect GetPageRect() override;
    void MovePage(const wizard::Rect& rect) override;
    void SetActivePage() override;

    void ShowOkButton(int showCommand) override;
    void SetOkButtonText(const std::string& caption) override;

    bool LoadBanner(int bitmapId) override;
    int BannerWidth() override;
    void DrawBanner(int x, int y) override;

    void SetLineText(int controlId, const std::string& text) override;
    void ShowLine(int controlId, int showCommand) override;
    void InvalidateLine(int controlId) override;
    bool CreatePageFont(int pointSizeTenths, const std::string& face) override;
    void SetLineFont(int controlId) override;

    wizard::ColorRef GetSysColor(int index) override;

    [[noreturn]] void ExitProcess(int status) override;

  private:
    WindowHandle TabControl();

    ModuleHandle instance_;
    WindowHandle sheet_ = nullptr;
    WindowHandle page_ = nullptr;
    DefaultProcessing* defaults_ = nullptr;
    DeviceContext paintContext_ = nullptr;
    BitmapHandle banner_ = nullptr;
    FontHandle pageFont_ = nullptr;
};

}  // namespace platform::win32
