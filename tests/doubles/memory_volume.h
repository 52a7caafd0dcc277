// The entries of the in-memory volumes, shared by the file system and its
// folder search.
#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "doubles/memory_file_system.h"
#include "platform/win_constants.h"

namespace doubles {

struct MemoryFileSystem::Node {
    std::string name;
    std::uint32_t attributes = win::kFileAttributeDirectory;
    std::string contents;
    std::string linkTarget;  // folder links only
    Node* parent = nullptr;
    std::map<std::string, std::unique_ptr<Node>> children;  // by NameKey
    int openHandles = 0;

    bool IsFolder() const { return (attributes & win::kFileAttributeDirectory) != 0; }
    bool IsLink() const { return (attributes & win::kFileAttributeReparsePoint) != 0; }
    bool IsReadOnly() const { return (attributes & win::kFileAttributeReadonly) != 0; }
};

struct MemoryFileSystem::Drive {
    Node root;
    std::uint64_t capacity = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t used = 0;  // bytes of file contents
    bool pulled = false;
};

}  // namespace doubles
