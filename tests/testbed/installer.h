// Installer files for the tests: an executable image followed by modules,
// written by the same store writer that stashwell-pack uses, and byte
// patches for damaging them.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win_constants.h"
#include "store/module_header.h"
#include "store/module_tags.h"
#include "store_writer.h"

namespace testbed {

struct Module {
    std::string tag;
    std::string fileName;
    std::string extractPath;
    std::string contents;
    std::uint32_t attributes = win::kFileAttributeNormal;
};

inline Module OrcaModule(std::string fileName, std::string extractPath, std::string contents) {
    return {store::kOrcaTag, std::move(fileName), std::move(extractPath), std::move(contents)};
}
inline Module KestrelModule(std::string fileName, std::string extractPath, std::string contents) {
    return {store::kKestrelTag, std::move(fileName), std::move(extractPath), std::move(contents)};
}

struct Installer {
    std::string bytes;
    std::vector<pack::ModulePlacement> placements;  // in the order appended
};

// Bytes that differ from their neighbours, so a misplaced chunk shows.
inline std::string Pattern(std::size_t size, unsigned seed = 1) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (char& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 16);
    }
    return bytes;
}

// An image of imageSize bytes that ends with four zero bytes.
inline std::string Image(std::size_t imageSize = 64) {
    std::string image = Pattern(imageSize, 7);
    image.replace(imageSize - 4, 4, 4, '\0');
    return image;
}

// The image followed by the modules, in the order given.
inline Installer BuildInstaller(const std::vector<Module>& modules,
                                const std::string& image = Image()) {
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

// Overwrites four bytes with a big-endian number.
inline void PutDword(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[offset + k] = static_cast<char>(store::ByteOfDword(value, 3 - k));
    }
}

}  // namespace testbed
