// Installer files for the fake machine: a small executable image followed by
// modules, written by the packer's store writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "doubles/memory_file_system.h"
#include "platform/win_constants.h"
#include "store/module_tags.h"

namespace wizard_test {

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

// Writes (or replaces) the installer file at path; the modules are appended
// in the order given.
void WriteInstaller(doubles::MemoryFileSystem& files, const std::string& path,
                    const std::vector<Module>& modules);

}  // namespace wizard_test
