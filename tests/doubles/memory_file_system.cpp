#include "doubles/memory_file_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "platform/hosted/path_syntax.h"
#include "platform/win_constants.h"

namespace doubles {

namespace {

constexpr std::uint32_t kErrorNoMoreFiles = 18;
// The bits that SetFileAttributesA can change; the others belong to the entry.
constexpr std::uint32_t kSettableAttributes =
    0x1 | 0x2 | 0x4 | 0x20 | 0x80 | 0x100 | 0x1000 | 0x2000;
constexpr int kMaxLinkHops = 8;

std::string Upper(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsRefused(char c, bool wildcards) {
    if (static_cast<unsigned char>(c) < 0x20) {
        return true;
    }
    if (wildcards && (c == '*' || c == '?')) {
        return false;
    }
    return std::strchr(":*?\"<>|", c) != nullptr;
}

// The attributes that a file keeps: the normal bit only when nothing else.
std::uint32_t FileAttributes(std::uint32_t requested) {
    const std::uint32_t bits = requested & kSettableAttributes & ~win::kFileAttributeNormal;
    return bits != 0 ? bits : win::kFileAttributeNormal;
}

std::uint32_t FolderAttributes(std::uint32_t kept, std::uint32_t requested) {
    return (kept & (win::kFileAttributeDirectory | win::kFileAttributeReparsePoint)) |
           (requested & kSettableAttributes & ~win::kFileAttributeNormal);
}

// Name matching of a search pattern, without regard to case; "*.*" matches
// every name, also one without a dot.
bool Matches(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") {
        return true;
    }
    const std::string p = Upper(pattern);
    const std::string n = Upper(name);
    std::size_t pi = 0;
    std::size_t ni = 0;
    std::size_t starP = std::string::npos;
    std::size_t starN = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starN = ni;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            ni = ++starN;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') {
        ++pi;
    }
    return pi == p.size();
}

}  // namespace

struct MemoryFileSystem::Node {
    std::string name;
    std::uint32_t attributes = win::kFileAttributeDirectory;
    std::string contents;
    std::string linkTarget;  // folder links only
    Node* parent = nullptr;
    std::map<std::string, std::unique_ptr<Node>> children;  // by upper-case name
    int openHandles = 0;

    bool IsFolder() const { return (attributes & win::kFileAttributeDirectory) != 0; }
    bool IsLink() const { return (attributes & win::kFileAttributeReparsePoint) != 0; }
    bool IsReadOnly() const { return (attributes & win::kFileAttributeReadonly) != 0; }
};

struct MemoryFileSystem::Drive {
    Node root;
    std::uint64_t capacity = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t used = 0;
    bool pulled = false;
};

struct MemoryFileSystem::Handle {
    std::shared_ptr<Drive> drive;
    Node* node;
    bool writing;
    long position = 0;
};

// A path split into its drive and its names, "." and ".." applied.
struct MemoryFileSystem::Place {
    char drive = 0;         // upper case
    std::string driveText;  // "E:" as written
    std::vector<std::string> names;
    bool trailingSeparator = false;

    // 0, or the error of a path that Windows refuses.
    std::uint32_t Parse(const std::string& path, bool wildcardsInLast) {
        if (path.size() < 2 || !std::isalpha(static_cast<unsigned char>(path[0])) ||
            path[1] != ':') {
            return win::kErrorPathNotFound;
        }
        drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        driveText = path.substr(0, 2);
        std::vector<std::string> pieces;
        std::string piece;
        for (std::size_t i = 2; i <= path.size(); ++i) {
            if (i == path.size() || IsSeparator(path[i])) {
                pieces.push_back(piece);
                piece.clear();
            } else {
                piece += path[i];
            }
        }
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const bool last = i + 1 == pieces.size();
            if (pieces[i].empty() || pieces[i] == ".") {
                continue;
            }
            if (pieces[i] == "..") {
                if (!names.empty()) {
                    names.pop_back();
                }
                continue;
            }
            for (char c : pieces[i]) {
                if (IsRefused(c, wildcardsInLast && last)) {
                    return win::kErrorInvalidName;
                }
            }
            names.push_back(pieces[i]);
        }
        trailingSeparator = path.size() > 2 && IsSeparator(path.back());
        return 0;
    }
};

class MemoryFileSystem::Search : public platform::FileFind {
  public:
    explicit Search(MemoryFileSystem& files) : files_(files) {}

    bool FindFile(const std::string& pattern) override;
    bool FindNextFile() override;
    bool MatchesMask(std::uint32_t mask) const override {
        return current_ != nullptr && (current_->attributes & mask) != 0;
    }
    bool IsDots() const override {
        return current_ != nullptr && (current_->name == "." || current_->name == "..");
    }
    std::string GetFilePath() const override {
        return current_ != nullptr ? root_ + "\\" + current_->name : std::string();
    }
    void Close() override;

  private:
    struct Entry {
        std::string name;
        std::uint32_t attributes;
    };
    MemoryFileSystem& files_;
    std::shared_ptr<Drive> drive_;
    std::string root_;  // the pattern's folder, without a final backslash
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
    const Entry* current_ = nullptr;
    bool open_ = false;
    bool more_ = false;
};

bool MemoryFileSystem::Search::FindFile(const std::string& pattern) {
    Close();
    if (files_.Failed(Call::FindFile)) {
        return false;
    }
    Place place;
    if (std::uint32_t error = place.Parse(pattern, true); error != 0) {
        return files_.Fail(error);
    }
    if (place.names.empty() || place.trailingSeparator) {
        return files_.Fail(win::kErrorFileNotFound);
    }
    std::uint32_t error = 0;
    Node* folder = files_.Resolve(place, place.names.size() - 1, true, 0, error);
    if (folder == nullptr) {
        return files_.Fail(error);
    }
    if (!folder->IsFolder()) {
        return files_.Fail(win::kErrorPathNotFound);
    }
    std::vector<Entry> found;
    if (folder->parent != nullptr) {
        found.push_back({".", folder->attributes});
        found.push_back({"..", folder->parent->attributes});
    }
    for (const auto& [key, child] : folder->children) {
        found.push_back({child->name, child->attributes});
    }
    const std::string& spec = place.names.back();
    for (const Entry& entry : found) {
        if (Matches(spec, entry.name)) {
            entries_.push_back(entry);
        }
    }
    if (entries_.empty()) {
        return files_.Fail(win::kErrorFileNotFound);
    }
    root_ = place.driveText;
    for (std::size_t i = 0; i + 1 < place.names.size(); ++i) {
        root_ += "\\" + place.names[i];
    }
    drive_ = files_.drives_.at(place.drive);
    open_ = true;
    more_ = true;
    ++files_.openSearches_;
    return true;
}

bool MemoryFileSystem::Search::FindNextFile() {
    if (!open_ || !more_) {
        current_ = nullptr;
        return false;
    }
    current_ = &entries_[next_++];
    more_ = false;
    if (files_.Failed(Call::FindNextFile)) {
        return false;
    }
    if (drive_->pulled) {
        return files_.Fail(win::kErrorNotReady);
    }
    if (next_ == entries_.size()) {
        return files_.Fail(kErrorNoMoreFiles);
    }
    more_ = true;
    return true;
}

void MemoryFileSystem::Search::Close() {
    if (open_) {
        --files_.openSearches_;
    }
    open_ = false;
    more_ = false;
    entries_.clear();
    next_ = 0;
    current_ = nullptr;
}

MemoryFileSystem::MemoryFileSystem(hosted::LastError& lastError, FaultPlan& faults)
    : lastError_(lastError), faults_(faults) {}

MemoryFileSystem::~MemoryFileSystem() = default;

// Setting up.

void MemoryFileSystem::AddDrive(char letter) {
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (drives_.count(drive) == 0) {
        drives_[drive] = std::make_shared<Drive>();
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
    auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    if (it != drives_.end()) {
        it->second->pulled = true;
        drives_.erase(it);
    }
}

MemoryFileSystem::Drive& MemoryFileSystem::SetUpDrive(const std::string& path) const {
    Place place;
    if (place.Parse(path, false) != 0) {
        throw std::invalid_argument("not a path with a drive: " + path);
    }
    auto it = drives_.find(place.drive);
    if (it == drives_.end()) {
        throw std::invalid_argument("no drive for " + path + " (call AddDrive first)");
    }
    return *it->second;
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

MemoryFileSystem::Node& MemoryFileSystem::SetUpEntry(const std::string& path, bool folder) {
    Node* node = &SetUpDrive(path).root;
    Place place;
    place.Parse(path, false);
    if (place.names.empty()) {
        throw std::invalid_argument("a drive root cannot be set up as an entry: " + path);
    }
    for (std::size_t i = 0; i < place.names.size(); ++i) {
        const bool last = i + 1 == place.names.size();
        auto& slot = node->children[Upper(place.names[i])];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = place.names[i];
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

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path, bool followLink,
                                               std::uint32_t& error) const {
    Place place;
    if (error = place.Parse(path, false); error != 0) {
        return nullptr;
    }
    Node* node = Resolve(place, place.names.size(), followLink, 0, error);
    if (node != nullptr && !node->IsFolder() && place.trailingSeparator) {
        error = win::kErrorInvalidName;
        return nullptr;
    }
    return node;
}

MemoryFileSystem::Node* MemoryFileSystem::FindParent(const std::string& path, std::string& name,
                                                     std::uint32_t& error) const {
    Place place;
    if (error = place.Parse(path, false); error != 0) {
        return nullptr;
    }
    if (place.names.empty()) {
        error = win::kErrorAccessDenied;
        return nullptr;
    }
    Node* parent = Resolve(place, place.names.size() - 1, true, 0, error);
    if (parent == nullptr) {
        return nullptr;
    }
    if (!parent->IsFolder()) {
        error = win::kErrorPathNotFound;
        return nullptr;
    }
    name = place.names.back();
    return parent;
}

// Walks the first depth names of place from its drive's root; folder links
// on the way are followed to their targets, the last one only on request.
MemoryFileSystem::Node* MemoryFileSystem::Resolve(const Place& place, std::size_t depth,
                                                  bool followLink, int hops,
                                                  std::uint32_t& error) const {
    auto drive = drives_.find(place.drive);
    if (drive == drives_.end()) {
        error = win::kErrorPathNotFound;
        return nullptr;
    }
    auto follow = [&](Node* node) -> Node* {
        if (node == nullptr || !node->IsLink()) {
            return node;
        }
        if (hops >= kMaxLinkHops) {
            error = win::kErrorCantResolveFilename;
            return nullptr;
        }
        Place target;
        if (target.Parse(node->linkTarget, false) != 0) {
            error = win::kErrorPathNotFound;
            return nullptr;
        }
        Node* found = Resolve(target, target.names.size(), true, hops + 1, error);
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
        auto child = node->children.find(Upper(place.names[i]));
        if (child == node->children.end()) {
            error = i + 1 == place.names.size() ? win::kErrorFileNotFound : win::kErrorPathNotFound;
            return nullptr;
        }
        node = child->second.get();
    }
    return followLink ? follow(node) : node;
}

bool MemoryFileSystem::Failed(Call call) {
    std::uint32_t error = 0;
    if (!faults_.ShouldFail(call, error)) {
        return false;
    }
    lastError_.Set(error);
    return true;
}

bool MemoryFileSystem::Fail(std::uint32_t error) {
    lastError_.Set(error);
    return false;
}

// Low-level file input and output.

int MemoryFileSystem::OpenRead(const std::string& path) {
    if (Failed(Call::OpenRead)) {
        return -1;
    }
    std::uint32_t error = 0;
    Node* node = Find(path, true, error);
    if (node == nullptr) {
        Fail(error);
        return -1;
    }
    if (node->IsFolder()) {
        Fail(win::kErrorAccessDenied);
        return -1;
    }
    ++node->openHandles;
    handles_[nextHandle_] = std::make_unique<Handle>(Handle{DriveOf(*node), node, false});
    return nextHandle_++;
}

int MemoryFileSystem::CreateExclusive(const std::string& path) {
    if (Failed(Call::CreateExclusive)) {
        return -1;
    }
    std::uint32_t error = 0;
    std::string name;
    Node* parent = FindParent(path, name, error);
    if (parent == nullptr) {
        Fail(error);
        return -1;
    }
    if (auto existing = parent->children.find(Upper(name)); existing != parent->children.end()) {
        Fail(existing->second->IsFolder() ? win::kErrorAccessDenied : win::kErrorFileExists);
        return -1;
    }
    if (IsSeparator(path.back())) {
        Fail(win::kErrorInvalidName);
        return -1;
    }
    auto file = std::make_unique<Node>();
    file->name = name;
    file->parent = parent;
    file->attributes = win::kFileAttributeArchive;
    file->openHandles = 1;
    Node* node = file.get();
    parent->children[Upper(name)] = std::move(file);
    handles_[nextHandle_] = std::make_unique<Handle>(Handle{DriveOf(*node), node, true});
    return nextHandle_++;
}

MemoryFileSystem::Handle* MemoryFileSystem::Usable(int handle, std::uint32_t pulledError) {
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
    if (Failed(Call::Read)) {
        return -1;
    }
    Handle* open = Usable(handle, win::kErrorNotReady);
    if (open == nullptr) {
        return -1;
    }
    if (open->writing) {
        Fail(win::kErrorAccessDenied);
        return -1;
    }
    const std::string& contents = open->node->contents;
    const std::size_t position = static_cast<std::size_t>(open->position);
    const std::size_t available = position < contents.size() ? contents.size() - position : 0;
    const unsigned n =
        faults_.Limit(Call::Read, static_cast<unsigned>(std::min<std::size_t>(count, available)));
    std::memcpy(buffer, contents.data() + std::min(position, contents.size()), n);
    open->position += static_cast<long>(n);
    return static_cast<int>(n);
}

long MemoryFileSystem::Seek(int handle, long offset) {
    if (Failed(Call::Seek)) {
        return -1;
    }
    Handle* open = Usable(handle, win::kErrorNotReady);
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

int MemoryFileSystem::Write(int handle, const void* buffer, unsigned count) {
    if (Failed(Call::Write)) {
        return -1;
    }
    Handle* open = Usable(handle, win::kErrorGenFailure);
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
    const bool failed = Failed(Call::Close);
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
    if (Failed(Call::GetFileLength)) {
        return false;
    }
    std::uint32_t error = 0;
    const Node* node = Find(path, true, error);
    if (node == nullptr) {
        return Fail(error);
    }
    if (node->IsFolder()) {
        return Fail(win::kErrorAccessDenied);
    }
    length = node->contents.size();
    return true;
}

// Attributes and folders.

std::uint32_t MemoryFileSystem::GetFileAttributesA(const std::string& path) {
    if (Failed(Call::GetFileAttributes)) {
        return win::kInvalidFileAttributes;
    }
    std::uint32_t error = 0;
    const Node* node = Find(path, false, error);
    if (node == nullptr) {
        Fail(error);
        return win::kInvalidFileAttributes;
    }
    return node->attributes;
}

bool MemoryFileSystem::SetFileAttributesA(const std::string& path, std::uint32_t attributes) {
    if (Failed(Call::SetFileAttributes)) {
        return false;
    }
    std::uint32_t error = 0;
    Node* node = Find(path, false, error);
    if (node == nullptr) {
        return Fail(error);
    }
    node->attributes = node->IsFolder() ? FolderAttributes(node->attributes, attributes)
                                        : FileAttributes(attributes);
    return true;
}

bool MemoryFileSystem::DeleteFileA(const std::string& path) {
    if (Failed(Call::DeleteFile)) {
        return false;
    }
    std::uint32_t error = 0;
    Node* node = Find(path, false, error);
    if (node == nullptr) {
        return Fail(error);
    }
    if (node->IsFolder() || node->IsReadOnly()) {
        return Fail(win::kErrorAccessDenied);
    }
    if (node->openHandles > 0) {
        return Fail(win::kErrorSharingViolation);
    }
    DriveOf(*node)->used -= node->contents.size();
    node->parent->children.erase(Upper(node->name));
    return true;
}

bool MemoryFileSystem::CreateDirectoryA(const std::string& path) {
    if (Failed(Call::CreateDirectory)) {
        return false;
    }
    std::uint32_t error = 0;
    std::string name;
    Node* parent = FindParent(path, name, error);
    if (parent == nullptr) {
        return Fail(error);
    }
    auto& slot = parent->children[Upper(name)];
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
    if (Failed(Call::RemoveDirectory)) {
        return false;
    }
    std::uint32_t error = 0;
    Node* node = Find(path, false, error);
    if (node == nullptr) {
        return Fail(error);
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
    node->parent->children.erase(Upper(node->name));
    return true;
}

// Shell path functions.

bool MemoryFileSystem::PathFileExistsA(const std::string& path) {
    if (Failed(Call::PathFileExists)) {
        return false;
    }
    std::uint32_t error = 0;
    return Find(path, false, error) != nullptr || Fail(error);
}

bool MemoryFileSystem::PathIsDirectoryA(const std::string& path) {
    if (Failed(Call::PathIsDirectory)) {
        return false;
    }
    std::uint32_t error = 0;
    const Node* node = Find(path, false, error);
    if (node == nullptr) {
        return Fail(error);
    }
    return node->IsFolder();
}

bool MemoryFileSystem::PathIsUNCA(const std::string& path) {
    return hosted::PathIsUNCA(path);
}

bool MemoryFileSystem::PathSkipRootA(const std::string& path, std::string& rest) {
    return hosted::PathSkipRootA(path, rest);
}

std::unique_ptr<platform::FileFind> MemoryFileSystem::NewFileFind() {
    return std::make_unique<Search>(*this);
}

}  // namespace doubles
