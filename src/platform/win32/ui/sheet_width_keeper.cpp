#include "platform/win32/ui/sheet_width_keeper.h"

#include <algorithm>

#include "platform/win32/windows_api.h"
// windows.h must come first.
#include <commctrl.h>

namespace platform::win32 {

namespace {

int WidthOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

}  // namespace

void SheetWidthKeeper::Begin(WindowHandle sheet) {
    sheet_ = sheet;
    widthAtStart_ = WidthOf(sheet);
    tabWidthAtStart_ = WidthOf(PropSheet_GetTabControl(sheet));
}

void SheetWidthKeeper::End() {
    sheet_ = nullptr;
}

int SheetWidthKeeper::Adjust(int width) const {
    if (sheet_ == nullptr) {
        return width;
    }
    const int tabGrowth = WidthOf(PropSheet_GetTabControl(sheet_)) - tabWidthAtStart_;
    return std::max(width, widthAtStart_ + tabGrowth);
}

}  // namespace platform::win32
