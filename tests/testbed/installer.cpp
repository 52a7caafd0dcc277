#include "testbed/installer.h"

#include <sstream>

#include "store/module_header.h"

namespace testbed {

std::string Image(std::size_t imageSize) {
    std::string image = Pattern(imageSize, 7);
    image.replace(imageSize - 4, 4, 4, '\0');
    return image;
}

std::string Pattern(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (char& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 16);
    }
    return bytes;
}

Installer BuildInstaller(const std::vector<Module>& modules, const std::string& image) {
    std::istringstream stub(image);
    std::ostringstream out;
    pack::StoreWriter writer(out, stub);
    Installer installer;
    for (const Module& module : modules) {
        std::istringstream payload(module.contents);
        installer.placements.push_back(
            writer.Append(payload, module.contents.size(),
                          {module.tag, module.fileName, module.extractPath, module.attributes}));
    }
    installer.bytes = out.str();
    return installer;
}

void PutDword(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[offset + k] = static_cast<char>(store::ByteOfDword(value, 3 - k));
    }
}

}  // namespace testbed
