// Installer files for the store's tests, written by the same store writer
// that stashwell-pack uses, and byte patches for damaging them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "module_spec.h"
#include "store_writer.h"

namespace storetest {

inline constexpr char kInstallerPath[] = "C:\\Setup\\StashwellSetup.exe";

struct TestModule {
    std::string payload;
    pack::ModuleSpec spec;
};

struct TestInstaller {
    std::string bytes;
    std::vector<pack::ModulePlacement> placements;  // in the order appended
};

// An image of imageSize bytes that ends with four zero bytes.
std::string Image(std::size_t imageSize = 64);
// Bytes that differ from their neighbours, so a misplaced chunk shows.
std::string Pattern(std::size_t size, unsigned seed = 1);
// A module with the given tag and file name, the payload's bytes and
// attributes 0x80.
TestModule Module(const std::string& tag, const std::string& fileName, std::string payload,
                  const std::string& extractPath = "");

// The image followed by the modules, in the order given.
TestInstaller Build(const std::string& image, const std::vector<TestModule>& modules);

// Overwrites four bytes with a big-endian number.
void PutDword(std::string& bytes, std::size_t offset, std::uint32_t value);

}  // namespace storetest
