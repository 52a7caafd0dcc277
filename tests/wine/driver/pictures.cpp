#include "pictures.h"

#include <windows.h>

#include <algorithm>

namespace driver {

namespace {

// The bitmap's pixels through a 24-bit top-down DIB, whose rows are padded
// to four bytes and hold blue, green, red.
Picture PixelsOf(HDC context, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(stride) * height);
    ::GetDIBits(context, bitmap, 0, height, dib.data(), &info, DIB_RGB_COLORS);

    Picture picture{width, height, {}};
    picture.rgb.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = dib.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            picture.rgb.insert(picture.rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        }
    }
    return picture;
}

}  // namespace

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

bool LoadBitmapResource(const std::string& executable, int id, Picture& out) {
    HMODULE module = ::LoadLibraryExA(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return false;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    bool loaded = false;
    if (bitmap != nullptr) {
        BITMAP description{};
        ::GetObjectA(bitmap, sizeof description, &description);
        HDC screen = ::GetDC(nullptr);
        out = PixelsOf(screen, bitmap, description.bmWidth, description.bmHeight);
        ::ReleaseDC(nullptr, screen);
        ::DeleteObject(bitmap);
        loaded = true;
    }
    ::FreeLibrary(module);
    return loaded;
}

bool ShowsAt(const Picture& picture, const Picture& part, int x, int y) {
    if (x < 0 || y < 0 || x + part.width > picture.width || y + part.height > picture.height) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(part.width) * 3;
    for (int row = 0; row < part.height; ++row) {
        const auto shown =
            picture.rgb.begin() + ((static_cast<std::ptrdiff_t>(y + row) * picture.width + x) * 3);
        const auto wanted = part.rgb.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
        if (!std::equal(wanted, wanted + static_cast<std::ptrdiff_t>(rowBytes), shown)) {
            return false;
        }
    }
    return true;
}

unsigned ColorAt(const Picture& picture, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    return picture.rgb[at] | (picture.rgb[at + 1] << 8) | (picture.rgb[at + 2] << 16);
}

}  // namespace driver
