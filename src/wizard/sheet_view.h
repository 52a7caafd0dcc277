// The installer's window as the wizard's logic drives it. The logic (the
// application, the sheet, the install page and the coloured lines) exists
// once, in this folder; each renderer (the Win32 property sheet, the hosted
// terminal) implements this view and the Framework, and calls the handlers
// of CPropertyDlg and CInstallPageDlg at the moments their comments name.
//
// The view is the sheet window with its one page. It offers:
// - the sheet: default window processing, geometry, title, tab strip, the
//   OK button (captioned " Install ") and the banner bitmap;
// - the page's three static text lines, addressed by control id, which can
//   be set, shown and hidden, and take the page font; their colours are
//   kept by the logic's CColorStatic and read by the renderer when it paints;
// - the system colours and the end of the process.
// Message boxes are not the view's: they go through platform::UserInterface.
#pragma once

#include <cstdint>
#include <string>

#include "wizard/resource_ids.h"

namespace wizard {

// A colour as 0x00BBGGRR.
using ColorRef = std::uint32_t;

// System colour indexes of GetSysColor.
inline constexpr int kColorActiveBorder = 10;
inline constexpr int kColorWindowText = 8;

// A rectangle in pixels, right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

class SheetView {
  public:
    virtual ~SheetView() = default;

    // The framework's own processing of the sheet's WM_CREATE: 0, or -1 when
    // the window cannot be created.
    virtual int DefaultOnCreate() = 0;
    // The framework's own sheet initialisation: creates the page's window,
    // then calls CInstallPageDlg::OnInitDialog and CInstallPageDlg::
    // OnSetActive (the page is then the active one). Returns its result.
    virtual bool DefaultOnInitDialog() = 0;

    // The sheet window's rectangle in screen coordinates, and moving it
    // there with repaint.
    virtual Rect GetWindowRect() = 0;
    virtual void MoveWindow(const Rect& rect) = 0;
    virtual Rect GetClientRect() = 0;
    virtual void SetWindowText(const std::string& title) = 0;

    // The tab strip: the bottom edge of its first tab in the tab control's
    // client coordinates, and placing the tabs along its bottom edge
    // (TCS_BOTTOM, frame refreshed at once).
    virtual int FirstTabBottom() = 0;
    virtual void SetTabsAtBottom() = 0;
    // The page window's rectangle in the sheet's client coordinates, and
    // moving it there with repaint.
    virtual Rect GetPageRect() = 0;
    virtual void MovePage(const Rect& rect) = 0;
    // CPropertySheet::SetActivePage of the page, the only one, once the
    // window exists (PSM_SETCURSEL): the sheet activates the page again, so
    // CInstallPageDlg::OnSetActive runs once more.
    virtual void SetActivePage() = 0;

    // The sheet's OK button (command id 1): ShowWindow with win::kSwHide or
    // win::kSwShowNormal, and its caption. It keeps both until changed.
    virtual void ShowOkButton(int showCommand) = 0;
    virtual void SetOkButtonText(const std::string& caption) = 0;

    // Loads the banner bitmap resource and keeps it for the sheet's life:
    // false when it cannot be loaded. Its width in pixels once loaded.
    virtual bool LoadBanner(int bitmapId) = 0;
    virtual int BannerWidth() = 0;
    // Draws the whole banner, at its own size, with its top left corner at
    // (x, y) of the sheet's client area. Called only from
    // CPropertyDlg::OnPaint, inside the renderer's paint cycle.
    virtual void DrawBanner(int x, int y) = 0;

    // The page's lines, by control id: CWnd::SetWindowText, CWnd::ShowWindow
    // (win::kSwHide, win::kSwShowNormal), and InvalidateRect of the whole
    // control with erasing.
    virtual void SetLineText(int controlId, const std::string& text) = 0;
    virtual void ShowLine(int controlId, int showCommand) = 0;
    virtual void InvalidateLine(int controlId) = 0;
    // CFont::CreatePointFont(pointSizeTenths, face) for the page font: false
    // when the font cannot be created. Then WM_SETFONT of that font to one
    // line, with redraw.
    virtual bool CreatePageFont(int pointSizeTenths, const std::string& face) = 0;
    virtual void SetLineFont(int controlId) = 0;

    // GetSysColor(index).
    virtual ColorRef GetSysColor(int index) = 0;

    // Ends the process at once with the status, as exit() does. It never
    // returns: a test double throws.
    [[noreturn]] virtual void ExitProcess(int status) = 0;
};

}  // namespace wizard
