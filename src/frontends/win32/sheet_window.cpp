#include "frontends/win32/sheet_window.h"

#include "platform/win32/runtime/runtime.h"
#include "platform/win32/windows_api.h"
// windows.h must come first.
#include <commctrl.h>

namespace platform::win32 {

namespace {

wizard::Rect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void MoveTo(HWND window, const wizard::Rect& rect) {
    ::MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

// The font height of a point size in tenths on the screen, as a character
// height (negative) in pixels.
int ScreenFontHeight(int pointSizeTenths) {
    HDC screen = ::GetDC(nullptr);
    const int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    const int height = pixelsPerInch * pointSizeTenths / 720;
    return height < 0 ? height : -height;
}

}  // namespace

SheetWindow::SheetWindow(ModuleHandle instance) : instance_(instance) {}

SheetWindow::~SheetWindow() {
    if (banner_ != nullptr) {
        ::DeleteObject(banner_);
    }
    if (pageFont_ != nullptr) {
        ::DeleteObject(pageFont_);
    }
}

void SheetWindow::AttachSheet(WindowHandle sheet, DefaultProcessing& defaults) {
    sheet_ = sheet;
    defaults_ = &defaults;
}

void SheetWindow::AttachPage(WindowHandle page) {
    page_ = page;
}

void SheetWindow::SetPaintContext(DeviceContext context) {
    paintContext_ = context;
}

int SheetWindow::DefaultOnCreate() {
    return static_cast<int>(defaults_->RunDefault());
}

bool SheetWindow::DefaultOnInitDialog() {
    return defaults_->RunDefault() != 0;
}

wizard::Rect SheetWindow::GetWindowRect() {
    RECT rect{};
    ::GetWindowRect(sheet_, &rect);
    return FromRect(rect);
}

void SheetWindow::MoveWindow(const wizard::Rect& rect) {
    MoveTo(sheet_, rect);
}

wizard::Rect SheetWindow::GetClientRect() {
    RECT rect{};
    ::GetClientRect(sheet_, &rect);
    return FromRect(rect);
}

void SheetWindow::SetWindowText(const std::string& title) {
    ::SetWindowTextA(sheet_, title.c_str());
}

HWND SheetWindow::TabControl() {
    return PropSheet_GetTabControl(sheet_);
}

int SheetWindow::FirstTabBottom() {
    RECT rect{};
    TabCtrl_GetItemRect(TabControl(), 0, &rect);
    return rect.bottom;
}

void SheetWindow::SetTabsAtBottom() {
    HWND tabs = TabControl();
    const LONG style = ::GetWindowLongA(tabs, GWL_STYLE);
    ::SetWindowLongA(tabs, GWL_STYLE, style | TCS_BOTTOM);
    ::SetWindowPos(tabs, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

wizard::Rect SheetWindow::GetPageRect() {
    RECT rect{};
    ::GetWindowRect(page_, &rect);
    ::MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&rect), 2);
    return FromRect(rect);
}

void SheetWindow::MovePage(const wizard::Rect& rect) {
    MoveTo(page_, rect);
}

void SheetWindow::SetActivePage() {
    PropSheet_SetCurSel(sheet_, nullptr, 0);
}

void SheetWindow::ShowOkButton(int showCommand) {
    ::ShowWindow(::GetDlgItem(sheet_, IDOK), showCommand);
}

void SheetWindow::SetOkButtonText(const std::string& caption) {
    ::SetDlgItemTextA(sheet_, IDOK, caption.c_str());
}

bool SheetWindow::LoadBanner(int bitmapId) {
    banner_ = ::LoadBitmapA(instance_, MAKEINTRESOURCEA(bitmapId));
    return banner_ != nullptr;
}

int SheetWindow::BannerWidth() {
    BITMAP description{};
    ::GetObjectA(banner_, sizeof description, &description);
    return description.bmWidth;
}

void SheetWindow::DrawBanner(int x, int y) {
    BITMAP description{};
    ::GetObjectA(banner_, sizeof description, &description);
    HDC memory = ::CreateCompatibleDC(paintContext_);
    HGDIOBJ previous = ::SelectObject(memory, banner_);
    ::StretchBlt(paintContext_, x, y, description.bmWidth, description.bmHeight, memory, 0, 0,
                 description.bmWidth, description.bmHeight, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
}

void SheetWindow::SetLineText(int controlId, const std::string& text) {
    ::SetDlgItemTextA(page_, controlId, text.c_str());
}

void SheetWindow::ShowLine(int controlId, int showCommand) {
    ::ShowWindow(::GetDlgItem(page_, controlId), showCommand);
}

void SheetWindow::InvalidateLine(int controlId) {
    ::InvalidateRect(::GetDlgItem(page_, controlId), nullptr, TRUE);
}

bool SheetWindow::CreatePageFont(int pointSizeTenths, const std::string& face) {
    LOGFONTA description{};
    description.lfHeight = ScreenFontHeight(pointSizeTenths);
    description.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(description.lfFaceName, face.c_str(), LF_FACESIZE);
    pageFont_ = ::CreateFontIndirectA(&description);
    return pageFont_ != nullptr;
}

void SheetWindow::SetLineFont(int controlId) {
    ::SendDlgItemMessageA(page_, controlId, WM_SETFONT, reinterpret_cast<WPARAM>(pageFont_), TRUE);
}

wizard::ColorRef SheetWindow::GetSysColor(int index) {
    return ::GetSysColor(index);
}

void SheetWindow::ExitProcess(int status) {
    runtime::EndProcess(status);
}

}  // namespace platform::win32
