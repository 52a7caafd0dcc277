#include "sheet_reading.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/resource_ids.h"

namespace {

constexpr int kApplyButtonId = 0x3021;
// Where the banner is drawn: this far below the client area's top edge.
constexpr int kBannerTop = 6;

// The pixels through a 24-bit top-down DIB: rows of blue, green, red, padded to 4 bytes.
Picture PixelsOf(HDC context, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(stride) * height);
    ::GetDIBits(context, bitmap, 0, height, dib.data(), &info, DIB_RGB_COLORS);
    Picture picture{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* pixel = &dib[static_cast<std::size_t>(y) * stride + 3 * x];
            picture.rgb.insert(picture.rgb.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    return picture;
}

// A child's window rectangle in the client coordinates of a window.
RECT RectIn(HWND window, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Whether the top rows of part show in picture with its corner at (x, y).
bool ShowsAt(const Picture& picture, const Picture& part, int rows, int x, int y) {
    if (x < 0 || y < 0 || x + part.width > picture.width || y + rows > picture.height) {
        return false;
    }
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(part.width) * 3;
    for (int row = 0; row < rows; ++row) {
        const auto wanted = part.rgb.begin() + row * rowBytes;
        if (!std::equal(wanted, wanted + rowBytes,
                        picture.rgb.begin() + (y + row) * (picture.width * 3LL) + x * 3LL)) {
            return false;
        }
    }
    return true;
}

// The first tab's label (the tab control answers through memory of the
// installer's process), where the strip lies and whether the page covers it.
std::string DescribeTab(HANDLE process, HWND sheet, HWND tabs, HWND page) {
    char label[256] = {};
    RECT firstTab{};
    if (auto* remote = static_cast<char*>(::VirtualAllocEx(
            process, nullptr, sizeof(TCITEMA) + sizeof label, MEM_COMMIT, PAGE_READWRITE))) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote + sizeof item;
        item.cchTextMax = sizeof label - 1;
        if (!::WriteProcessMemory(process, remote, &item, sizeof item, nullptr) ||
            !::SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) ||
            !::ReadProcessMemory(process, remote + sizeof item, label, sizeof label - 1, nullptr)) {
            label[0] = '\0';
        }
        if (::SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(remote))) {
            ::ReadProcessMemory(process, remote, &firstTab, sizeof firstTab, nullptr);
        }
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    RECT client{};
    ::GetClientRect(tabs, &client);
    const bool styledBottom = (::GetWindowLongA(tabs, GWL_STYLE) & TCS_BOTTOM) != 0;
    const bool drawnLow = firstTab.top > client.bottom / 2;
    ::MapWindowPoints(tabs, sheet, reinterpret_cast<POINT*>(&firstTab), 2);
    const bool covered = RectIn(sheet, page).bottom >= firstTab.bottom;
    return "tab " + Quoted(label) +
           (styledBottom && drawnLow ? " along the bottom edge" : " along the top edge") +
           (covered ? ", under the page" : ", below the page");
}

std::string DescribeButton(HWND sheet, int id, const std::string& name) {
    HWND button = ::GetDlgItem(sheet, id);
    const bool shown = button != nullptr && ::IsWindowVisible(button);
    return name + " button " + (shown ? Quoted(WindowText(button)) : "hidden");
}

std::string DescribeBanner(HWND sheet, HWND page, HWND tabs, const Picture& screen,
                           const Picture& banner) {
    RECT client{};
    ::GetClientRect(sheet, &client);
    const RECT pageRect = RectIn(sheet, page);
    const RECT tabRect = RectIn(sheet, tabs);
    // The sheet's own layout leaves as much room right of the tabs as left.
    const int widening = client.right - (tabRect.right + tabRect.left);
    POINT at{pageRect.left + pageRect.right, client.top + kBannerTop};
    // Only the rows above the buttons, which may cover it: the sheet is no taller.
    const RECT button = RectIn(sheet, ::GetDlgItem(sheet, IDCANCEL));
    const int rows = std::max(0, std::min(banner.height, static_cast<int>(button.top - at.y)));
    ::ClientToScreen(sheet, &at);
    const bool shown = rows > 0 && ShowsAt(screen, banner, rows, at.x, at.y);
    return (shown ? "banner beside the page" : "no banner") +
           (", sheet widened by " + std::to_string(widening));
}

std::string DescribeLine(HWND page, int id, const Picture& screen) {
    HWND line = ::GetDlgItem(page, id);
    const std::string name = "line " + std::to_string(id);
    if (line == nullptr || !::IsWindowVisible(line)) {
        return name + (line == nullptr ? " missing" : " hidden");
    }
    RECT rect{};
    ::GetWindowRect(line, &rect);
    const std::size_t at =
        (static_cast<std::size_t>(rect.bottom - 2) * screen.width + rect.right - 2) * 3;
    // As 0x00BBGGRR, as GetSysColor gives it.
    const unsigned background =
        screen.rgb[at] | (screen.rgb[at + 1] << 8) | (screen.rgb[at + 2] << 16);
    char colour[32] = "on the active-border colour";
    if (background != ::GetSysColor(COLOR_ACTIVEBORDER)) {
        std::snprintf(colour, sizeof colour, "on colour %06x", background);
    }
    return name + " " + Quoted(WindowText(line)) + " " + colour;
}

}  // namespace

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto at = std::string_view("\\\"\r\n\t").find(c);
        quoted +=
            at == std::string_view::npos ? std::string(1, c) : std::string{'\\', "\\\"rnt"[at]};
    }
    return quoted + "\"";
}

std::string WindowText(HWND window) {
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

Picture CaptureScreen() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    Picture picture = PixelsOf(memory, bitmap, width, height);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

Picture LoadBitmapResource(const std::string& executable, int id) {
    Picture picture;
    HMODULE module = ::LoadLibraryExA(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return picture;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap != nullptr) {
        BITMAP description{};
        ::GetObjectA(bitmap, sizeof description, &description);
        HDC screen = ::GetDC(nullptr);
        picture = PixelsOf(screen, bitmap, description.bmWidth, description.bmHeight);
        ::ReleaseDC(nullptr, screen);
        ::DeleteObject(bitmap);
    }
    ::FreeLibrary(module);
    return picture;
}

bool WritePpm(const std::string& path, const Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr &&
        std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height) > 0 &&
        std::fwrite(picture.rgb.data(), 1, picture.rgb.size(), file) == picture.rgb.size();
    return file != nullptr && std::fclose(file) == 0 && written;
}

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
    // The page's lines in the order in which they show, from top to bottom.
    std::array<int, 3> ids = {IDC_DRIVE_LINE, IDC_MODULE_LINE, IDC_SUPPORT_LINE};
    std::stable_sort(ids.begin(), ids.end(), [page](int a, int b) {
        return RectIn(page, ::GetDlgItem(page, a)).top < RectIn(page, ::GetDlgItem(page, b)).top;
    });
    for (const int id : ids) {
        lines.push_back(DescribeLine(page, id, screen));
    }
    return lines;
}
