#include "platform/hosted/folder_index.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace hosted {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

bool Same(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

FolderIndex::Folder* FolderIndex::Current(const std::string& folder) {
    struct stat status {};
    if (stat(folder.c_str(), &status) != 0) {
        folders_.erase(folder);
        return nullptr;
    }
    const auto cached = folders_.find(folder);
    if (cached != folders_.end() && cached->second.device == status.st_dev &&
        cached->second.inode == status.st_ino && Same(cached->second.modified, status.st_mtim)) {
        return &cached->second;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) {
        folders_.erase(folder);
        return nullptr;
    }
    ++listings_;
    Folder listed{status.st_dev, status.st_ino, status.st_mtim, {}};
    while (const dirent* entry = readdir(dir.get())) {
        listed.byUpper[Upper(entry->d_name)].insert(entry->d_name);
    }
    return &(folders_[folder] = std::move(listed));
}

std::string FolderIndex::Find(const std::string& folder, const std::string& name) {
    struct stat status {};
    if (lstat((folder + "/" + name).c_str(), &status) == 0) {
        return name;
    }
    const Folder* index = Current(folder);
    if (index == nullptr) {
        return name;
    }
    const auto names = index->byUpper.find(Upper(name));
    if (names == index->byUpper.end() || names->second.count(name) != 0) {
        return name;
    }
    return *names->second.begin();
}

void FolderIndex::Added(const std::string& path) {
    Note(path, true);
}

void FolderIndex::Removed(const std::string& path) {
    Note(path, false);
}

void FolderIndex::Note(const std::string& path, bool added) {
    const std::size_t slash = path.rfind('/');
    const auto cached =
        slash == std::string::npos ? folders_.end() : folders_.find(path.substr(0, slash));
    if (cached == folders_.end()) {
        return;
    }
    struct stat status {};
    if (stat(cached->first.c_str(), &status) != 0) {
        folders_.erase(cached);
        return;
    }
    const std::string name = path.substr(slash + 1);
    auto& byUpper = cached->second.byUpper;
    if (added) {
        byUpper[Upper(name)].insert(name);
    } else if (const auto names = byUpper.find(Upper(name)); names != byUpper.end()) {
        names->second.erase(name);
        if (names->second.empty()) {
            byUpper.erase(names);
        }
    }
    cached->second.modified = status.st_mtim;
}

}  // namespace hosted
