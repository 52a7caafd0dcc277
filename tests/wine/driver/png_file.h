// Writes a picture as a PNG file: 8-bit RGB, rows unfiltered, compressed
// with deflate's fixed codes and back-references to the pixel before and to
// the row above, which is all that screenshots of windows need.
#pragma once

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

// False when the file cannot be written.
bool WritePng(const std::string& path, const Picture& picture);

}  // namespace driver
