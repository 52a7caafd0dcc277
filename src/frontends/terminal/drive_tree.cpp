#include "drive_tree.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "platform/hosted/printable_text.h"
#include "platform/win_constants.h"

namespace setup {

namespace {

std::string EntryLine(platform::FileSystem& files, const std::string& path, bool folder) {
    const std::uint32_t attributes = files.GetFileAttributesA(path);
    std::uint64_t length = 0;
    std::string size = "<DIR>";
    if (!folder) {
        size = files.GetFileLength(path, length) ? std::to_string(length) : "?";
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "(0x%X)", attributes);
    char line[64];
    std::snprintf(line, sizeof line, "%11s  %-5s %-7s ", size.c_str(),
                  AttributeLetters(attributes).c_str(), hex);
    return line + hosted::PrintableText(path) + (folder ? "\\" : "") + "\n";
}

// The entries of one folder and, depth first, of its folders.
bool ListFolder(platform::FileSystem& files, const std::string& folder, std::string& out) {
    std::unique_ptr<platform::FileFind> find = files.NewFileFind();
    if (!find->FindFile(folder + "\\*.*")) {
        return false;
    }
    for (bool more = true; more;) {
        more = find->FindNextFile();
        if (find->IsDots()) {
            continue;
        }
        const std::string path = find->GetFilePath();
        const bool isFolder = find->MatchesMask(win::kFileAttributeDirectory);
        out += EntryLine(files, path, isFolder);
        if (isFolder) {
            ListFolder(files, path, out);
        }
    }
    find->Close();
    return true;
}

}  // namespace

std::string AttributeLetters(std::uint32_t attributes) {
    if (attributes == win::kInvalidFileAttributes) {
        return "?";
    }
    std::string letters;
    const std::pair<std::uint32_t, char> bits[] = {
        {win::kFileAttributeReadonly, 'R'}, {win::kFileAttributeHidden, 'H'},
        {win::kFileAttributeSystem, 'S'},   {win::kFileAttributeDirectory, 'D'},
        {win::kFileAttributeArchive, 'A'},
    };
    for (const auto& [bit, letter] : bits) {
        if ((attributes & bit) != 0) {
            letters += letter;
        }
    }
    return letters.empty() ? "N" : letters;
}

std::string DriveTree(platform::FileSystem& files, char letter) {
    const std::string root = std::string(1, letter) + ":";
    if (!files.PathIsDirectoryA(root + "\\")) {
        return "drive " + root + " is not there\n";
    }
    std::string out;
    if (!ListFolder(files, root, out) || out.empty()) {
        return root + "\\ (empty)\n";
    }
    return out;
}

}  // namespace setup
