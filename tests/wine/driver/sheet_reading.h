// Reading the installer's windows and the screen as a person sees them:
// the sheet as transcript lines, the display, the banner bitmap, and PPM
// screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Pixels as R, G, B bytes, row after row from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

// "text" with backslash, quote, carriage return, line feed and tab escaped.
std::string Quoted(const std::string& text);
// A window's text, as another process reads it.
std::string WindowText(HWND window);
// The whole virtual display.
Picture CaptureScreen();
// A bitmap resource of an executable file; empty when it has none.
Picture LoadBitmapResource(const std::string& executable, int id);
// A binary PPM file (P6, 8-bit RGB); false when it cannot be written.
bool WritePpm(const std::string& path, const Picture& picture);
// The sheet as transcript lines; banner, the installer's bitmap resource,
// is looked for beside the page.
std::vector<std::string> DescribeSheet(HANDLE process, HWND sheet, const Picture& screen,
                                       const Picture& banner);
