// Pictures of the screen and of bitmap resources, to save and to compare.
#pragma once

#include <string>

#include "ppm_file.h"

namespace driver {

// The whole virtual display.
Picture CaptureScreen();

// A bitmap resource of an executable file; false when it has none.
bool LoadBitmapResource(const std::string& executable, int id, Picture& out);

// Whether part shows in picture with its top left corner at (x, y).
bool ShowsAt(const Picture& picture, const Picture& part, int x, int y);

// The colour at (x, y) as 0x00BBGGRR, as GetSysColor gives it.
unsigned ColorAt(const Picture& picture, int x, int y);

}  // namespace driver
