// What a person sees of the installer: pictures of the screen and of bitmap
// resources, saved as binary PPM files (P6, 8-bit RGB) that e2e.sh turns into
// PNG, and the sheet written down as transcript lines, texts quoted with C
// escapes: its title, the tab and where its strip lies, the buttons, the
// banner and how much wider the sheet is for it, and the page's lines from
// top to bottom with their colours.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

// Pixels as R, G, B bytes, row after row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The whole virtual display.
Picture CaptureScreen();
// A bitmap resource of an executable file; empty when it has none.
Picture LoadBitmapResource(const std::string& executable, int id);
// False when the file cannot be written.
bool WritePpm(const std::string& path, const Picture& picture);

// "text" with backslash, quote, carriage return, line feed and tab escaped.
std::string Quoted(const std::string& text);
// A window's text, as another process reads it.
std::string WindowText(HWND window);
// banner: the installer's bitmap resource, to be looked for beside the page
// on the screen; empty when the installer has none.
std::vector<std::string> DescribeSheet(HANDLE process, HWND sheet, const Picture& screen,
                                       const Picture& banner);

}  // namespace driver
