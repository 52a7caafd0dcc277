#include "ppm_file.h"

#include <cstdio>

namespace driver {

bool WritePpm(const std::string& path, const Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written =
        std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height) > 0 &&
        std::fwrite(picture.rgb.data(), 1, picture.rgb.size(), file) == picture.rgb.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace driver
