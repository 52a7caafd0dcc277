#include "doubles/memory_file_find.h"

#include "doubles/windows_path.h"

namespace doubles {

namespace {

constexpr std::uint32_t kErrorNoMoreFiles = 18;

}  // namespace

bool MemoryFileSystem::Search::FindFile(const std::string& pattern) {
    Close();
    if (files_.faults_.Fails(Call::FindFile, files_.lastError_)) {
        return false;
    }
    WindowsPath path;
    if (std::uint32_t error = path.Parse(pattern, true); error != 0) {
        return files_.Fail(error);
    }
    if (path.names.empty() || path.trailingSeparator) {
        return files_.Fail(win::kErrorFileNotFound);
    }
    std::uint32_t error = 0;
    const Node* folder = files_.Resolve(path, path.names.size() - 1, true, 0, error);
    if (folder == nullptr) {
        return files_.Fail(error);
    }
    if (!folder->IsFolder()) {
        return files_.Fail(win::kErrorPathNotFound);
    }
    List(*folder, path.names.back());
    if (entries_.empty()) {
        return files_.Fail(win::kErrorFileNotFound);
    }
    root_ = path.driveText;
    for (std::size_t i = 0; i + 1 < path.names.size(); ++i) {
        root_ += "\\" + path.names[i];
    }
    drive_ = files_.drives_.at(path.drive);
    open_ = true;
    more_ = true;
    ++files_.openSearches_;
    return true;
}

void MemoryFileSystem::Search::List(const Node& folder, const std::string& pattern) {
    std::vector<Entry> all;
    if (folder.parent != nullptr) {
        all.push_back({".", folder.attributes});
        all.push_back({"..", folder.parent->attributes});
    }
    for (const auto& [key, child] : folder.children) {
        all.push_back({child->name, child->attributes});
    }
    for (const Entry& entry : all) {
        if (MatchesPattern(pattern, entry.name)) {
            entries_.push_back(entry);
        }
    }
}

// Moves to the next entry; false when the entry it moved to is the last one,
// or when the search cannot go on (the entry moved to stays current).
bool MemoryFileSystem::Search::FindNextFile() {
    if (!open_ || !more_) {
        current_ = nullptr;
        return false;
    }
    current_ = &entries_[next_++];
    more_ = false;
    if (files_.faults_.Fails(Call::FindNextFile, files_.lastError_)) {
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

bool MemoryFileSystem::Search::MatchesMask(std::uint32_t mask) const {
    return current_ != nullptr && (current_->attributes & mask) != 0;
}

bool MemoryFileSystem::Search::IsDots() const {
    return current_ != nullptr && (current_->name == "." || current_->name == "..");
}

std::string MemoryFileSystem::Search::GetFilePath() const {
    return current_ != nullptr ? root_ + "\\" + current_->name : std::string();
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

}  // namespace doubles
