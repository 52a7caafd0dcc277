#include "sheet_reading.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "installer_process.h"
#include "pictures.h"
#include "remote_buffer.h"
#include "transcript.h"
#include "wizard/resource_ids.h"

namespace driver {

namespace {

constexpr std::array<int, 3> kLineIds = {IDC_DRIVE_LINE, IDC_MODULE_LINE, IDC_SUPPORT_LINE};
constexpr int kApplyButtonId = 0x3021;
// Where the banner is drawn: this far below the client area's top edge.
constexpr int kBannerTop = 6;

// A child's window rectangle in the sheet's client coordinates.
RECT RectIn(HWND sheet, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

struct TabStrip {
    std::string label;
    RECT firstTab{};
};

// The first tab's label and rectangle, read through memory of the
// installer's process.
TabStrip ReadTabStrip(HANDLE process, HWND tabs) {
    TabStrip strip;
    RemoteBuffer remote(process, sizeof(TCITEMA) + 256);
    if (!remote.Valid()) {
        return strip;
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<char*>(remote.Address()) + sizeof item;
    item.cchTextMax = 255;
    char label[256] = {};
    if (remote.Write(&item, sizeof item) &&
        ::SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.Address())) &&
        remote.Read(label, sizeof label - 1, sizeof item)) {
        strip.label = label;
    }
    if (::SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(remote.Address()))) {
        remote.Read(&strip.firstTab, sizeof strip.firstTab);
    }
    return strip;
}

// Where the tab strip lies, and whether the page, lengthened downwards,
// lies over it.
std::string DescribeTab(HANDLE process, HWND sheet, HWND tabs, HWND page) {
    const TabStrip strip = ReadTabStrip(process, tabs);
    RECT client{};
    ::GetClientRect(tabs, &client);
    const bool styledBottom = (::GetWindowLongA(tabs, GWL_STYLE) & TCS_BOTTOM) != 0;
    const bool drawnLow = strip.firstTab.top > client.bottom / 2;
    RECT firstTab = strip.firstTab;
    ::MapWindowPoints(tabs, sheet, reinterpret_cast<POINT*>(&firstTab), 2);
    const bool covered = RectIn(sheet, page).bottom >= firstTab.bottom;
    return "tab " + Quoted(strip.label) +
           (styledBottom && drawnLow ? " along the bottom edge" : " along the top edge") +
           (covered ? ", under the page" : ", below the page");
}

std::string DescribeButton(HWND sheet, int id, const char* name) {
    HWND button = ::GetDlgItem(sheet, id);
    if (button == nullptr || !::IsWindowVisible(button)) {
        return std::string(name) + " button hidden";
    }
    return std::string(name) + " button " + Quoted(WindowText(button));
}

// The banner's rows above the sheet's buttons, which may cover its lower
// part: the sheet is not made taller for it.
Picture UncoveredPart(const Picture& banner, HWND sheet, int top) {
    RECT button = RectIn(sheet, ::GetDlgItem(sheet, IDCANCEL));
    Picture part = banner;
    part.height = std::max(0, std::min(banner.height, static_cast<int>(button.top) - top));
    part.rgb.resize(static_cast<std::size_t>(part.width) * part.height * 3);
    return part;
}

std::string DescribeBanner(HWND sheet, HWND page, HWND tabs, const Picture& screen,
                           const Picture& banner) {
    RECT client{};
    ::GetClientRect(sheet, &client);
    const RECT pageRect = RectIn(sheet, page);
    const RECT tabRect = RectIn(sheet, tabs);
    // The sheet's own layout leaves as much room right of the tab control
    // as left of it.
    const int widening = client.right - (tabRect.right + tabRect.left);
    POINT at{pageRect.left + pageRect.right, client.top + kBannerTop};
    const Picture uncovered = UncoveredPart(banner, sheet, at.y);
    ::ClientToScreen(sheet, &at);
    const bool shown = uncovered.height > 0 && ShowsAt(screen, uncovered, at.x, at.y);
    char text[96];
    std::snprintf(text, sizeof text, "%s, sheet widened by %d",
                  shown ? "banner beside the page" : "no banner", widening);
    return text;
}

std::string DescribeLine(HWND page, int id, const Picture& screen) {
    HWND line = ::GetDlgItem(page, id);
    if (line == nullptr) {
        return "line " + std::to_string(id) + " missing";
    }
    if (!::IsWindowVisible(line)) {
        return "line " + std::to_string(id) + " hidden";
    }
    RECT rect{};
    ::GetWindowRect(line, &rect);
    const unsigned background = ColorAt(screen, rect.right - 2, rect.bottom - 2);
    std::string colour = "on the active-border colour";
    if (background != ::GetSysColor(COLOR_ACTIVEBORDER)) {
        char text[32];
        std::snprintf(text, sizeof text, "on colour %06x", background);
        colour = text;
    }
    return "line " + std::to_string(id) + " " + Quoted(WindowText(line)) + " " + colour;
}

// The lines in the order in which they show, from top to bottom.
std::vector<int> LinesTopDown(HWND page) {
    std::vector<int> ids(kLineIds.begin(), kLineIds.end());
    std::stable_sort(ids.begin(), ids.end(), [page](int a, int b) {
        RECT first{};
        RECT second{};
        ::GetWindowRect(::GetDlgItem(page, a), &first);
        ::GetWindowRect(::GetDlgItem(page, b), &second);
        return first.top < second.top;
    });
    return ids;
}

}  // namespace

std::vector<std::string> DescribeSheet(HANDLE process, HWND sheet, const Picture& screen,
                                       const Picture& banner) {
    HWND tabs = ::FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr);
    HWND page = ::FindWindowExA(sheet, nullptr, "#32770", nullptr);
    std::vector<std::string> lines = {
        "title " + Quoted(WindowText(sheet)),
        DescribeTab(process, sheet, tabs, page),
        DescribeButton(sheet, IDOK, "OK"),
        DescribeButton(sheet, IDCANCEL, "Cancel"),
        DescribeButton(sheet, kApplyButtonId, "Apply"),
        DescribeBanner(sheet, page, tabs, screen, banner),
    };
    for (const int id : LinesTopDown(page)) {
        lines.push_back(DescribeLine(page, id, screen));
    }
    return lines;
}

}  // namespace driver
