// What a person sees of the installer's sheet, written down as transcript
// lines: the title, the tab and where its strip lies, the buttons, the
// banner and how much wider the sheet is for it, and the page's lines from
// top to bottom with their colours.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ppm_file.h"

namespace driver {

// banner: the installer's bitmap resource, to be looked for beside the page
// on the screen; empty when the installer has none.
std::vector<std::string> DescribeSheet(HANDLE process, HWND sheet, const Picture& screen,
                                       const Picture& banner);

}  // namespace driver
