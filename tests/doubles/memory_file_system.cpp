#include "doubles/memory_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "doubles/memory_file_find.h"
#include "doubles/memory_volume.h"
#include "doubles/windows_path.h"
#include "platform/path_syntax.h"

namespace doubles {

namespace {

// The bits that SetFileAttributesA can change; the others belong to the entry.
constexpr std::uint32_t kSettableAttributes =
    0x1 | 0x2 | 0x4 | 0x20 | 0x80 | 0x100 | 0x1000 | 0x2000;
constexpr int kMaxLinkHops = 8;

// The attributes that a file keeps: the normal bit only when nothing else.
std::uint32_t FileAttributes(std::uint32_t requested) {
    const std::uint32_t bits = requested & kSettableAttributes & ~win::kFileAttributeNormal;
    return bits != 0 ? bits : win::kFileAttributeNormal;
}

std::uint32_t FolderAttributes(std::uint32_t kept, std::uint32_t requested) {
    return (kept & (win::kFileAttributeDirectory | win::kFileAttributeReparsePoint)) |
           (requested & kSettableAttributes & ~win::kFileAttributeNormal);
}

char DriveLetter(char letter) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

}  // namespace

struct MemoryFileSystem::Handle {
    std::shared_ptr<Drive> drive;
    Node* node;
    bool writing;
    long position = 0;
};

MemoryFileSystem::MemoryFileSystem(hosted::LastError& lastError, FaultPlan& faults)
    : lastError_(lastError), faults_(faults) {}

MemoryFileSystem::~MemoryFileSystem() = default;

// Setting up.

void MemoryFileSystem::AddDrive(char letter) {
    if (drives_.count(DriveLetter(letter)) == 0) {
        drives_[DriveLetter(letter)] = std::make_shared<Drive>();
    }
}

void MemoryFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
    Node& folder = SetUpEntry(path, true);
    folder.attributes = FolderAttributes(folder.attributes, attributes);
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& contents,
                               std::uint32_t attributes) {
    Node& file = SetUpEntry(path, false);
    Drive& drive = *DriveOf(file);
    drive.used = drive.used - file.contents.size() + contents.size();
    file.contents = contents;
    file.attributes = FileAttributes(attributes);
}

void MemoryFileSystem::AddFolderLink(const std::string& path, const std::string& target) {
    Node& link = SetUpEntry(path, true);
    if (!link.children.empty()) {
        throw std::invalid_argument("a folder link cannot replace a folder with entries: " + path);
    }
    link.attributes = win::kFileAttributeDirectory | win::kFileAttributeReparsePoint;
    link.linkTarget = target;
}

void MemoryFileSystem::SetCapacity(char letter, std::uint64_t bytes) {
    SetUpDrive(std::string(1, letter) + ":").capacity = bytes;
}

void MemoryFileSystem::RemoveDrive(char letter) {
    auto it = drives_.find(DriveLetter(letter));
    if (it != drives_.end()) {
        it->second->pulled = true;
        drives_.erase(it);
    }
}

MemoryFileSystem::Drive& MemoryFileSystem::SetUpDrive(const std::string& path) const {
    WindowsPath parsed;
    if (parsed.Parse(path) != 0) {
        throw std::invalid_argument("not a path with a drive: " + path);
    }
    auto it = drives_.find(parsed.drive);
    if (it == drives_.end()) {
        throw std::invalid_argument("no drive for " + path + " (call AddDrive first)");
    }
    return *it->second;
}

MemoryFileSystem::Node& MemoryFileSystem::SetUpEntry(const std::string& path, bool folder) {
    Node* node = &SetUpDrive(path).root;
    WindowsPath parsed;
    parsed.Parse(path);
    if (parsed.names.empty()) {
        throw std::invalid_argument("a drive root cannot be set up as an entry: " + path);
    }
    for (std::size_t i = 0; i < parsed.names.size(); ++i) {
        const bool last = i + 1 == parsed.names.size();
        auto& slot = node->children[NameKey(parsed.names[i])];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = parsed.names[i];
            slot->parent = node;
            slot->attributes =
                last && !folder ? win::kFileAttributeNormal : win::kFileAttributeDirectory;
        }
        if (slot->IsFolder() != (folder || !last) || slot->IsLink()) {
            throw std::invalid_argument("entry of another kind in the way: " + path);
        }
        node = slot.get();
    }
    return *node;
}

// Inspecting.

bool MemoryFileSystem::Exists(const std::string& path) const {
    std::uint32_t error = 0;
    return Find(path, false, error) != nullptr;
}

std::string MemoryFileSystem::Contents(const std::string& path) const {
    std::uint32_t error = 0;
    const Node* node = Find(path, true, error);
    return node != nullptr ? node->contents : std::string();
}

std::uint32_t MemoryFileSystem::Attributes(const std::string& path) const {
    std::uint32_t error = 0;
    const Node* node = Find(path, false, error);
    return node != nullptr ? node->attributes : win::kInvalidFileAttributes;
}

std::vector<std::string> MemoryFileSystem::Tree(char letter) const {
    std::vector<std::string> entries;
    const Node& root = SetUpDrive(std::string(1, letter) + ":").root;
    auto walk = [&entries](auto& self, const Node& folder, const std::string& prefix) -> void {
        for (const auto& [key, child] : folder.children) {
            const std::string path = prefix + "\\" + child->name;
            if (!child->IsFolder()) {
                entries.push_back(path);
                continue;
            }
            entries.push_back(path + "\\");
            if (!child->IsLink()) {
                self(self, *child, path);
            }
        }
    };
    walk(walk, root, std::string(1, letter) + ":");
    return entries;
}

int MemoryFileSystem::OpenHandleCount() const {
    return static_cast<int>(handles_.size());
}

int MemoryFileSystem::OpenSearchCount() const {
    return openSearches_;
}

// Finding entries.

MemoryFileSystem::Node* MemoryFileSystem::Entry(Call call, const std::string& path,
                                                bool followLink) {
    if (faults_.Fails(call, lastError_)) {
        return nullptr;
    }
    std::uint32_t error = 0;
    Node* node = Find(path, followLink, error);
    if (node == nullptr) {
        Fail(error);
    }
    return node;
}

MemoryFileSystem::Node* MemoryFileSystem::ParentFor(Call call, const std::string& path,
                                                    std::string& name) {
    if (faults_.Fails(call, lastError_)) {
        return nullptr;
    }
    WindowsPath parsed;
    std::uint32_t error = parsed.Parse(path);
    if (error == 0 && parsed.names.empty()) {
        error = win::kErrorAccessDenied;  // a drive's root
    }
    Node* parent = error == 0 ? Resolve(parsed, parsed.names.size() - 1, true, 0, error) : nullptr;
    if (parent != nullptr && !parent->IsFolder()) {
        parent = nullptr;
        error = win::kErrorPathNotFound;
    }
    if (parent == nullptr) {
        Fail(error);
        return nullptr;
    }
    name = parsed.names.back();
    return parent;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path, bool followLink,
                                               std::uint32_t& error) const {
    WindowsPath parsed;
    if (error = parsed.Parse(path); error != 0) {
        return nullptr;
    }
    Node* node = Resolve(parsed, parsed.names.size(), followLink, 0, error);
    if (node != nullptr && !node->IsFolder() && parsed.trailingSeparator) {
        error = win::kErrorInvalidName;
        return nullptr;
    }
    return node;
}

// Walks the first depth names of the path from its drive's root; folder
// links on the way are followed to their targets, the last one on request.
MemoryFileSystem::Node* MemoryFileSystem::Resolve(const WindowsPath& path, std::size_t depth,
                                                  bool followLink, int hops,
                                                  std::uint32_t& error) const {
    auto drive = drives_.find(path.drive);
    if (drive == drives_.end()) {
        error = win::kErrorPathNotFound;
        return nullptr;
    }
    auto follow = [&](Node* node) -> Node* {
        if (!node->IsLink()) {
            return node;
        }
        if (hops >= kMaxLinkHops) {
            error = win::kErrorCantResolveFilename;
            return nullptr;
        }
        WindowsPath target;
        Node* found = target.Parse(node->linkTarget) == 0
                          ? Resolve(target, target.names.size(), true, hops + 1, error)
                          : nullptr;
        if (found == nullptr || !found->IsFolder()) {
            error = win::kErrorPathNotFound;
            return nullptr;
        }
        return found;
    };
    Node* node = &drive->second->root;
    for (std::size_t i = 0; i < depth; ++i) {
        node = follow(node);
        if (node == nullptr) {
            return nullptr;
        }
        if (!node->IsFolder()) {
            error = win::kErrorPathNotFound;
            return nullptr;
        }
        auto child = node->children.find(NameKey(path.names[i]));
        if (child == node->children.end()) {
            error = i + 1 == path.names.size() ? win::kErrorFileNotFound : win::kErrorPathNotFound;
            return nullptr;
        }
        node = child->second.get();
    }
    return followLink ? follow(node) : node;
}

std::shared_ptr<MemoryFileSystem::Drive> MemoryFileSystem::DriveOf(const Node& node) const {
    const Node* root = &node;
    while (root->parent != nullptr) {
        root = root->parent;
    }
    for (const auto& [letter, drive] : drives_) {
        if (&drive->root == root) {
            return drive;
        }
    }
    throw std::logic_error("an entry outside every drive");
}

bool MemoryFileSystem::Fail(std::uint32_t error) {
    lastError_.Set(error);
    return false;
}

// Low-level file input and output.

int MemoryFileSystem::Open(Node& node, bool writing) {
    ++node.openHandles;
    handles_[nextHandle_] = std::make_unique<Handle>(Handle{DriveOf(node), &node, writing});
    return nextHandle_++;
}

int MemoryFileSystem::OpenRead(const std::string& path) {
    Node* node = Entry(Call::OpenRead, path, true);
    if (node == nullptr) {
        return -1;
    }
    if (node->IsFolder()) {
        Fail(win::kErrorAccessDenied);
        return -1;
    }
    return Open(*node, false);
}

int MemoryFileSystem::CreateExclusive(const std::string& path) {
    std::string name;
    Node* parent = ParentFor(Call::CreateExclusive, path, name);
    if (parent == nullptr) {
        return -1;
    }
    if (path.back() == '\\' || path.back() == '/') {
        Fail(win::kErrorInvalidName);
        return -1;
    }
    auto& slot = parent->children[NameKey(name)];
    if (slot) {
        Fail(slot->IsFolder() ? win::kErrorAccessDenied : win::kErrorFileExists);
        return -1;
    }
    slot = std::make_unique<Node>();
    slot->name = name;
    slot->parent = parent;
    slot->attributes = win::kFileAttributeArchive;
    return Open(*slot, true);
}

MemoryFileSystem::Handle* MemoryFileSystem::Usable(Call call, int handle,
                                                   std::uint32_t pulledError) {
    if (faults_.Fails(call, lastError_)) {
        return nullptr;
    }
    auto it = handles_.find(handle);
    if (it == handles_.end()) {
        Fail(win::kErrorInvalidHandle);
        return nullptr;
    }
    if (it->second->drive->pulled) {
        Fail(pulledError);
        return nullptr;
    }
    return it->second.get();
}

int MemoryFileSystem::Read(int handle, void* buffer, unsigned count) {
    Handle* open = Usable(Call::Read, handle, win::kErrorNotReady);
    if (open == nullptr) {
        return -1;
    }
    if (open->writing) {
        Fail(win::kErrorAccessDenied);
        return -1;
    }
    const std::string& contents = open->node->contents;
    const std::size_t position =
        std::min(static_cast<std::size_t>(open->position), contents.size());
    const std::size_t available = contents.size() - position;
    const unsigned n =
        faults_.Limit(Call::Read, static_cast<unsigned>(std::min<std::size_t>(count, available)));
    std::memcpy(buffer, contents.data() + position, n);
    open->position += static_cast<long>(n);
    return static_cast<int>(n);
}

long MemoryFileSystem::Seek(int handle, long offset) {
    Handle* open = Usable(Call::Seek, handle, win::kErrorNotReady);
    if (open == nullptr) {
        return -1;
    }
    if (offset < 0) {
        Fail(win::kErrorNegativeSeek);
        return -1;
    }
    open->position = offset;
    return offset;
}

// Writes what fits on the drive; a write that comes up short sets
// ERROR_DISK_FULL, and one that writes nothing returns -1.
int MemoryFileSystem::Write(int handle, const void* buffer, unsigned count) {
    Handle* open = Usable(Call::Write, handle, win::kErrorGenFailure);
    if (open == nullptr) {
        return -1;
    }
    if (!open->writing) {
        Fail(win::kErrorAccessDenied);
        return -1;
    }
    std::string& contents = open->node->contents;
    Drive& drive = *open->drive;
    const std::uint64_t position = static_cast<std::uint64_t>(open->position);
    const std::uint64_t room = drive.capacity > drive.used ? drive.capacity - drive.used : 0;
    const std::uint64_t end = contents.size() + room;
    const std::uint64_t fits = position < end ? end - position : 0;
    const unsigned n =
        static_cast<unsigned>(std::min<std::uint64_t>(faults_.Limit(Call::Write, count), fits));
    if (n < count) {
        Fail(win::kErrorDiskFull);
        if (n == 0) {
            return -1;
        }
    }
    if (position + n > contents.size()) {
        drive.used += position + n - contents.size();
        contents.resize(position + n);
    }
    std::memcpy(contents.data() + position, buffer, n);
    open->position += static_cast<long>(n);
    return static_cast<int>(n);
}

// The handle is released even when the close is made to fail, as the C
// run-time releases it, so that a test can always count what stays open.
int MemoryFileSystem::Close(int handle) {
    const bool failed = faults_.Fails(Call::Close, lastError_);
    auto it = handles_.find(handle);
    if (it == handles_.end()) {
        Fail(win::kErrorInvalidHandle);
        return -1;
    }
    --it->second->node->openHandles;
    handles_.erase(it);
    return failed ? -1 : 0;
}

bool MemoryFileSystem::GetFileLength(const std::string& path, std::uint64_t& length) {
    const Node* node = Entry(Call::GetFileLength, path, true);
    if (node == nullptr) {
        return false;
    }
    if (node->IsFolder()) {
        return Fail(win::kErrorAccessDenied);
    }
    length = node->contents.size();
    return true;
}

// Attributes and folders.

std::uint32_t MemoryFileSystem::GetFileAttributesA(const std::string& path) {
    const Node* node = Entry(Call::GetFileAttributes, path, false);
    return node != nullptr ? node->attributes : win::kInvalidFileAttributes;
}

bool MemoryFileSystem::SetFileAttributesA(const std::string& path, std::uint32_t attributes) {
    Node* node = Entry(Call::SetFileAttributes, path, false);
    if (node == nullptr) {
        return false;
    }
    node->attributes = node->IsFolder() ? FolderAttributes(node->attributes, attributes)
                                        : FileAttributes(attributes);
    return true;
}

bool MemoryFileSystem::DeleteFileA(const std::string& path) {
    Node* node = Entry(Call::DeleteFile, path, false);
    if (node == nullptr) {
        return false;
    }
    if (node->IsFolder() || node->IsReadOnly()) {
        return Fail(win::kErrorAccessDenied);
    }
    if (node->openHandles > 0) {
        return Fail(win::kErrorSharingViolation);
    }
    DriveOf(*node)->used -= node->contents.size();
    node->parent->children.erase(NameKey(node->name));
    return true;
}

bool MemoryFileSystem::CreateDirectoryA(const std::string& path) {
    std::string name;
    Node* parent = ParentFor(Call::CreateDirectory, path, name);
    if (parent == nullptr) {
        return false;
    }
    auto& slot = parent->children[NameKey(name)];
    if (slot) {
        return Fail(win::kErrorAlreadyExists);
    }
    slot = std::make_unique<Node>();
    slot->name = name;
    slot->parent = parent;
    return true;
}

// A folder link is removed itself; what it leads to stays.
bool MemoryFileSystem::RemoveDirectoryA(const std::string& path) {
    Node* node = Entry(Call::RemoveDirectory, path, false);
    if (node == nullptr) {
        return false;
    }
    if (!node->IsFolder()) {
        return Fail(win::kErrorDirectory);
    }
    if (node->parent == nullptr || node->IsReadOnly()) {
        return Fail(win::kErrorAccessDenied);
    }
    if (!node->IsLink() && !node->children.empty()) {
        return Fail(win::kErrorDirNotEmpty);
    }
    node->parent->children.erase(NameKey(node->name));
    return true;
}

// Shell path functions.

bool MemoryFileSystem::PathFileExistsA(const std::string& path) {
    return Entry(Call::PathFileExists, path, false) != nullptr;
}

bool MemoryFileSystem::PathIsDirectoryA(const std::string& path) {
    const Node* node = Entry(Call::PathIsDirectory, path, false);
    return node != nullptr && node->IsFolder();
}

bool MemoryFileSystem::PathIsUNCA(const std::string& path) {
    return platform::PathIsUNCA(path);
}

bool MemoryFileSystem::PathSkipRootA(const std::string& path, std::string& rest) {
    return platform::PathSkipRootA(path, rest);
}

std::unique_ptr<platform::FileFind> MemoryFileSystem::NewFileFind() {
    return std::make_unique<Search>(*this);
}

}  // namespace doubles
