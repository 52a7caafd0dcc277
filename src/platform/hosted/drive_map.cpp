#include "platform/hosted/drive_map.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/hosted/error_text.h"
#include "platform/win_constants.h"

namespace hosted {

namespace {

int LetterIndex(char letter) {
    if (letter >= 'a' && letter <= 'z') {
        return letter - 'a';
    }
    if (letter >= 'A' && letter <= 'Z') {
        return letter - 'A';
    }
    return -1;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsRefusedName(const std::string& name) {
    for (const unsigned char c : name) {
        if (c < 32 || std::strchr(":*?\"<>|", c) != nullptr) {
            return true;
        }
    }
    return false;
}

// The names of the part of a path after "X:", with "." and empty names
// dropped and each ".." taking back the name before it, if any.
std::uint32_t SplitNames(const std::string& rest, std::vector<std::string>& names) {
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        const std::string name = rest.substr(start, end - start);
        if (IsRefusedName(name)) {
            return win::kErrorInvalidName;
        }
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        start = end + 1;
    }
    return win::kErrorSuccess;
}

bool IsInside(const std::string& path, const std::string& root) {
    if (path == root || root == "/") {
        return true;
    }
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
           path[root.size()] == '/';
}

std::string RealPath(const std::string& path) {
    const std::unique_ptr<char, void (*)(void*)> real(realpath(path.c_str(), nullptr), std::free);
    return real ? std::string(real.get()) : std::string();
}

}  // namespace

bool DriveMap::Map(char letter, const std::string& hostFolder) {
    const int index = LetterIndex(letter);
    const std::string root = RealPath(hostFolder);
    struct stat status {};
    if (index < 0 || root.empty() || stat(root.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return false;
    }
    roots_[index] = root;
    return true;
}

void DriveMap::Unmap(char letter) {
    const int index = LetterIndex(letter);
    if (index >= 0) {
        roots_[index].clear();
    }
}

void DriveMap::Added(const std::string& hostPath) const {
    index_.Added(hostPath);
}

void DriveMap::Removed(const std::string& hostPath) const {
    index_.Removed(hostPath);
}

bool DriveMap::MapFile(const std::string& path, const std::string& hostFile) {
    const std::string real = RealPath(hostFile);
    struct stat status {};
    if (real.empty() || stat(real.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return false;
    }
    files_[path] = real;
    return true;
}

std::uint32_t DriveMap::MappedLetters() const {
    std::uint32_t letters = 0;
    for (std::size_t index = 0; index < roots_.size(); ++index) {
        if (!roots_[index].empty()) {
            letters |= 1u << index;
        }
    }
    return letters;
}

std::uint32_t DriveMap::Resolve(const std::string& path, LastLink lastLink,
                                HostPath& result) const {
    if (const auto file = files_.find(path); file != files_.end()) {
        result = {file->second, false};
        return win::kErrorSuccess;
    }
    const bool hasDrive = path.size() >= 2 && path[1] == ':' && !IsSeparator(path[0]);
    std::vector<std::string> names;
    if (hasDrive && IsRefusedName(path.substr(0, 1))) {
        return win::kErrorInvalidName;
    }
    if (const auto error = SplitNames(path.substr(hasDrive ? 2 : 0), names);
        error != win::kErrorSuccess) {
        return error;
    }
    if (!hasDrive || LetterIndex(path[0]) < 0 || roots_[LetterIndex(path[0])].empty()) {
        return win::kErrorPathNotFound;
    }
    const std::string& root = roots_[LetterIndex(path[0])];
    std::string current = root;
    for (std::size_t index = 0; index < names.size(); ++index) {
        const bool last = index + 1 == names.size();
        const std::string candidate = current + "/" + index_.Find(current, names[index]);
        struct stat status {};
        if ((last && lastLink == LastLink::Keep) || lstat(candidate.c_str(), &status) != 0 ||
            !S_ISLNK(status.st_mode)) {
            current = candidate;
            continue;
        }
        const std::string target = RealPath(candidate);
        if (target.empty()) {
            return WinErrorFromErrno(errno, last);
        }
        if (!IsInside(target, root)) {
            return win::kErrorAccessDenied;
        }
        current = target;
    }
    result = {current, names.empty()};
    return win::kErrorSuccess;
}

}  // namespace hosted
