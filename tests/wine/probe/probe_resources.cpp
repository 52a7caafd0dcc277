#include <cstring>
#include <string>

#include "platform/win32/windows_api.h"
#include "probe_checks.h"
#include "wizard/resource_ids.h"

namespace probe {
namespace {

struct Resource {
    const std::uint8_t* data = nullptr;
    DWORD size = 0;
};

Resource Find(LPCSTR name, LPCSTR type) {
    HRSRC found = ::FindResourceA(nullptr, name, type);
    if (found == nullptr) {
        return {};
    }
    return {static_cast<const std::uint8_t*>(::LockResource(::LoadResource(nullptr, found))),
            ::SizeofResource(nullptr, found)};
}

// Reads a dialog template's 16-bit words one after another.
class WordReader {
  public:
    explicit WordReader(const std::uint8_t* data) : at_(data) {}
    std::uint16_t Word() {
        std::uint16_t w;
        std::memcpy(&w, at_, 2);
        at_ += 2;
        return w;
    }
    std::uint32_t Dword() {
        std::uint32_t low = Word();
        return low | (std::uint32_t{Word()} << 16);
    }
    // Four words x, y, cx, cy as "x,y cxxcy".
    std::string Frame() {
        std::uint16_t x = Word();
        std::uint16_t y = Word();
        std::uint16_t cx = Word();
        std::uint16_t cy = Word();
        return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" +
               std::to_string(cy);
    }
    // A zero-terminated UTF-16 text, or a 0xFFFF-prefixed ordinal; ASCII only.
    std::string Text() {
        std::string text;
        std::uint16_t c = Word();
        if (c == 0xFFFF) {
            return "#" + std::to_string(Word());
        }
        for (; c != 0; c = Word()) {
            text += static_cast<char>(c);
        }
        return text;
    }
    void AlignToDword(const std::uint8_t* base) {
        while ((at_ - base) % 4 != 0) {
            ++at_;
        }
    }

  private:
    const std::uint8_t* at_;
};

void CheckDialog(Report& report) {
    Resource dialog = Find(MAKEINTRESOURCEA(IDD_INSTALL_PAGE), MAKEINTRESOURCEA(5));
    report.Expect("dialog template 107 is present", dialog.data != nullptr);
    if (dialog.data == nullptr) {
        return;
    }
    WordReader read(dialog.data);
    std::uint32_t style = read.Dword();
    read.Dword();  // extended style
    std::uint16_t items = read.Word();
    std::string frame = read.Frame();
    std::string menu = read.Text();
    std::string windowClass = read.Text();
    std::string caption = read.Text();
    std::uint16_t points = read.Word();
    std::string face = read.Text();
    report.Expect("the page is a 210 x 89 child with a caption and three items",
                  frame == "0,0 210x89" && items == 3 && (style & WS_CHILD) != 0 &&
                      (style & WS_CAPTION) == WS_CAPTION,
                  frame + " items " + std::to_string(items));
    report.Expect("the page's tab label", caption == "    Install    ", caption);
    report.Expect("the page's font is MS Sans Serif, 8 points",
                  points == 8 && face == "MS Sans Serif", face);

    std::string layout;
    for (int i = 0; i < items; ++i) {
        read.AlignToDword(dialog.data);
        std::uint32_t itemStyle = read.Dword();
        read.Dword();
        std::string item = read.Frame();
        std::uint16_t id = read.Word();
        std::string kind = read.Text();
        read.Text();
        read.Word();  // creation data
        bool leftVisible = (itemStyle & SS_TYPEMASK) == SS_LEFT && (itemStyle & WS_VISIBLE) != 0;
        layout += std::to_string(id) + "@" + item + kind + (leftVisible ? "" : "?") + " ";
    }
    report.Expect("the three left-aligned visible statics, top to bottom 1004, 1020, 1005",
                  layout == "1004@7,4 196x21#130 1020@7,27 196x21#130 1005@7,50 196x21#130 ",
                  layout);
}

void CheckBanner(Report& report) {
    Resource banner = Find(MAKEINTRESOURCEA(IDB_BANNER), MAKEINTRESOURCEA(2));
    BITMAPINFOHEADER header{};
    if (banner.size >= sizeof header) {
        std::memcpy(&header, banner.data, sizeof header);
    }
    report.Expect("bitmap 135 is a 262 x 189 DIB at 24 bits per pixel with all its rows",
                  header.biWidth == 262 && header.biHeight == 189 && header.biBitCount == 24 &&
                      banner.size == sizeof header + 788 * 189,
                  std::to_string(header.biWidth) + "x" + std::to_string(header.biHeight) + "x" +
                      std::to_string(header.biBitCount) + " " + std::to_string(banner.size));

    HBITMAP loaded = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER));
    BITMAP described{};
    int got = loaded != nullptr ? ::GetObjectA(loaded, sizeof described, &described) : 0;
    report.Expect("LoadBitmapA and GetObjectA give the banner's 262 x 189",
                  got == sizeof described && described.bmWidth == 262 && described.bmHeight == 189,
                  std::to_string(described.bmWidth) + "x" + std::to_string(described.bmHeight));
    if (loaded != nullptr) {
        ::DeleteObject(loaded);
    }
}

void CheckVersionAndManifest(Report& report) {
    Resource version = Find(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    VS_FIXEDFILEINFO fixed{};
    for (DWORD at = 0; version.data != nullptr && at + sizeof fixed <= version.size; at += 4) {
        std::uint32_t signature;
        std::memcpy(&signature, version.data + at, 4);
        if (signature == 0xFEEF04BD) {
            std::memcpy(&fixed, version.data + at, sizeof fixed);
            break;
        }
    }
    report.Expect("the version resource says 1.1",
                  fixed.dwSignature == 0xFEEF04BD && fixed.dwFileVersionMS == 0x00010001);

    Resource manifest = Find(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string text(reinterpret_cast<const char*>(manifest.data), manifest.size);
    report.Expect("the manifest asks to run as the invoker",
                  text.find("requestedExecutionLevel level=\"asInvoker\"") != std::string::npos);
}

}  // namespace

void CheckResources(Report& report) {
    CheckDialog(report);
    CheckBanner(report);
    CheckVersionAndManifest(report);
}

}  // namespace probe
