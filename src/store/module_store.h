// The module store appended to the installer file: walking it from the end,
// extracting a module onto the target drive, creating the target folders.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "store/module_header.h"
#include "store/module_tags.h"
#include "store/scramble.h"

namespace store {

// Owner of the store operations: the installer file's path and the smallest
// trailer length accepted. Every call opens the installer file afresh and
// closes it before returning.
class ModuleStore {
  public:
    ModuleStore(platform::Platform& os, std::string installerPath,
                std::uint32_t headerLength = kTrailerLength);

    const std::string& InstallerPath() const { return installerPath_; }
    std::uint32_t HeaderLength() const { return headerLength_; }

    // The payload offset (> 0) of the next module, walking from startOffset
    // (0: the end of the file) towards the start, whose tag (byTag) or file
    // name matches key; 0 when none is left; -1 on failure.
    std::int32_t FindModule(const std::string& key, std::int32_t* payloadOffsetOut, bool byTag,
                            ModuleHeader* headerOut, std::uint32_t startOffset);
    // Copies one payload into a new file at targetPath, unscrambled, and gives
    // it the attributes. 1 on success, 0 on failure.
    int ExtractModule(const std::string& targetPath, std::int32_t payloadOffset,
                      std::uint32_t payloadSize, std::uint32_t attributes);
    // Creates every missing folder of a path such as "E:\A\B". 1 when all
    // exist afterwards, 0 on failure.
    int CreateDirectoryPath(const std::string& path);

  private:
    platform::Platform& os_;
    std::string installerPath_;
    std::uint32_t headerLength_;
};

}  // namespace store
