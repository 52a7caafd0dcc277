// Installer files for the tests: an executable image followed by modules,
// written by the same store writer that stashwell-pack uses, and byte
// patches for damaging them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_constants.h"
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

// An image of imageSize bytes that ends with four zero bytes.
std::string Image(std::size_t imageSize = 64);
// Bytes that differ from their neighbours, so a misplaced chunk shows.
std::string Pattern(std::size_t size, unsigned seed = 1);
// The image followed by the modules, in the order given.
Installer BuildInstaller(const std::vector<Module>& modules, const std::string& image = Image());
// Overwrites four bytes with a big-endian number.
void PutDword(std::string& bytes, std::size_t offset, std::uint32_t value);

}  // namespace testbed
