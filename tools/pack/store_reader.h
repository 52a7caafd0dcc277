// The module store of an installer file read whole, for listing and
// checking: every trailer is checked on the way, and the first defect ends
// the reading with a message that names the module and where it lies.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/module_header.h"

namespace pack {

struct StoredModule {
    store::ModuleHeader header;
    std::uint32_t payloadOffset;
    std::uint32_t trailerOffset;
    std::uint32_t trailerLength;  // as the trailer's last four bytes give it
    std::string sha256;           // of the payload as it is installed, unscrambled
};

struct StoreContents {
    std::vector<StoredModule> modules;  // walk order: the module appended last first
    std::uint64_t fileLength;
    std::uint32_t imageLength;  // where the first module's payload begins
};

// Walks the store from the end of the file to the executable image, checking
// each trailer: a length of 660 or more that stays inside the file, a tag
// with the store prefix, a payload that leaves room for the image before it,
// and fields that pass ModuleDefect. The walk ends cleanly where the four
// bytes before a payload read below 660. Throws PackError naming the first
// defect, such as "INSTALLER: module 2 from the end (trailer ending at offset 5120): ...".
StoreContents ReadStore(const std::filesystem::path& installer);

}  // namespace pack
