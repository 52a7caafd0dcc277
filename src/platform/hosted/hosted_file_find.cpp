#include "platform/hosted/hosted_file_find.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/hosted/dos_attributes.h"
#include "platform/hosted/error_text.h"
#include "platform/hosted/name_case.h"
#include "platform/win_constants.h"

namespace hosted {

namespace {

// The names a host folder holds, without "." and "..", sorted without regard
// to case; false with errno set when the folder cannot be read.
bool ListFolder(const std::string& hostFolder, std::vector<std::string>& names) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(hostFolder.c_str()), closedir);
    if (!dir) {
        return false;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return true;
}

}  // namespace

HostedFileFind::HostedFileFind(const DriveMap& drives, LastError& lastError)
    : drives_(drives), lastError_(lastError) {}

bool HostedFileFind::Fail(std::uint32_t code) {
    lastError_.Set(code);
    return false;
}

bool HostedFileFind::FindFile(const std::string& pattern) {
    Close();
    const auto separator = pattern.find_last_of("\\/");
    const std::string folder =
        separator == std::string::npos ? std::string() : pattern.substr(0, separator + 1);
    const std::string mask = pattern.substr(folder.size());
    HostPath host;
    if (const auto error = drives_.Resolve(folder, LastLink::Follow, host)) {
        return Fail(error);
    }
    if (mask != "*.*" && mask != "*") {
        return Fail(win::kErrorInvalidParameter);
    }
    std::vector<std::string> listed;
    if (!ListFolder(host.path, listed)) {
        return Fail(WinErrorFromErrno(errno, false));
    }
    std::vector<std::string> names;
    if (!host.isDriveRoot) {
        names = {".", ".."};
    }
    names.insert(names.end(), listed.begin(), listed.end());
    for (const auto& name : names) {
        const std::uint32_t attributes = ReadAttributes(host.path + "/" + name);
        if (attributes != win::kInvalidFileAttributes) {
            entries_.push_back({name, attributes});
        }
    }
    if (entries_.empty()) {
        return Fail(win::kErrorFileNotFound);
    }
    folder_ = folder;
    return true;
}

bool HostedFileFind::FindNextFile() {
    if (moves_ >= entries_.size()) {
        return false;
    }
    ++moves_;
    return moves_ < entries_.size();
}

const HostedFileFind::Entry* HostedFileFind::Current() const {
    return moves_ == 0 ? nullptr : &entries_[moves_ - 1];
}

bool HostedFileFind::MatchesMask(std::uint32_t mask) const {
    const Entry* entry = Current();
    return entry != nullptr && (entry->attributes & mask) != 0;
}

bool HostedFileFind::IsDots() const {
    const Entry* entry = Current();
    return entry != nullptr && (entry->name == "." || entry->name == "..");
}

std::string HostedFileFind::GetFilePath() const {
    const Entry* entry = Current();
    return entry != nullptr ? folder_ + entry->name : std::string();
}

void HostedFileFind::Close() {
    folder_.clear();
    entries_.clear();
    moves_ = 0;
}

}  // namespace hosted
