// Writes a picture as a binary PPM file (P6, 8-bit RGB); tests/wine/e2e.sh
// turns the files into PNG with netpbm's pnmtopng once the run is over.
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
bool WritePpm(const std::string& path, const Picture& picture);

}  // namespace driver
