#include "frontends/win32/sheet_width_keeper.h"

#include <algorithm>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

// The tab control's id in the property sheet's own template, which the
// sheet has before its initialisation makes PSM_GETTABCONTROL answer.
constexpr int kTabControlId = 0x3020;

int WidthOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

}  // namespace

void SheetWidthKeeper::Begin(WindowHandle sheet) {
    sheet_ = sheet;
    widthAtStart_ = WidthOf(sheet);
    tabWidthAtStart_ = WidthOf(::GetDlgItem(sheet, kTabControlId));
}

void SheetWidthKeeper::End() {
    sheet_ = nullptr;
}

int SheetWidthKeeper::Adjust(int width) const {
    if (sheet_ == nullptr) {
        return width;
    }
    const int tabGrowth = WidthOf(::GetDlgItem(sheet_, kTabControlId)) - tabWidthAtStart_;
    return std::max(width, widthAtStart_ + tabGrowth);
}

}  // namespace platform::win32
