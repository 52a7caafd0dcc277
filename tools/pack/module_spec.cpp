#include "module_spec.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "ansi_text.h"
#include "store/module_tags.h"
#include "windows_names.h"

namespace pack {

namespace {

constexpr std::size_t kLongestPath = win::kMaxPath - 1;  // 259 and a terminating zero

constexpr std::uint32_t kSettableAttributes =
    win::kFileAttributeReadonly | win::kFileAttributeHidden | win::kFileAttributeSystem |
    win::kFileAttributeArchive | win::kFileAttributeNormal;

std::string Text(const char* field, std::size_t width) {
    return std::string(field, strnlen(field, width));
}

std::string FileNameDefect(const std::string& name) {
    if (name.size() > kLongestPath) {
        return "is over 259 characters";
    }
    if (name.find('\\') != std::string::npos) {
        return "holds a backslash";
    }
    return WindowsNameDefect(name);
}

std::string ExtractPathDefect(const std::string& path) {
    if (path.size() > kLongestPath) {
        return "is over 259 characters";
    }
    if (path.empty()) {
        return "";
    }
    if (path.front() == '\\' || path.back() == '\\') {
        return "begins or ends with a backslash";
    }
    for (std::size_t begin = 0; begin <= path.size();) {
        const std::size_t end = std::min(path.find('\\', begin), path.size());
        if (const std::string defect = WindowsNameDefect(path.substr(begin, end - begin));
            !defect.empty()) {
            return "has a folder name that " + defect;
        }
        begin = end + 1;
    }
    return "";
}

}  // namespace

ModuleSpec SpecOfHeader(const store::ModuleHeader& header) {
    return ModuleSpec{Text(header.tag, store::kTagFieldWidth),
                      Text(header.fileName, store::kPathFieldWidth),
                      Text(header.extractPath, store::kPathFieldWidth), header.attributes};
}

std::string ModuleDefect(const ModuleSpec& spec) {
    if (!spec.tag.starts_with(store::kStorePrefix)) {
        return "tag \"" + ShownAnsi(spec.tag) + "\" does not begin with " + store::kStorePrefix;
    }
    if (spec.tag.size() > store::kTagFieldWidth) {
        return "tag \"" + ShownAnsi(spec.tag) + "\" is over 64 characters";
    }
    if (const std::string defect = FileNameDefect(spec.fileName); !defect.empty()) {
        return "file name \"" + ShownAnsi(spec.fileName) + "\" " + defect;
    }
    if (const std::string defect = ExtractPathDefect(spec.extractPath); !defect.empty()) {
        return "extract path \"" + ShownAnsi(spec.extractPath) + "\" " + defect;
    }
    // The installer forms "E:\path\name" or "E:\name" in a buffer of 260.
    const std::size_t targetLength =
        3 + (spec.extractPath.empty() ? 0 : spec.extractPath.size() + 1) + spec.fileName.size();
    if (targetLength > kLongestPath) {
        return "target path on the drive would be over 259 characters";
    }
    if ((spec.attributes & ~kSettableAttributes) != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", spec.attributes);
        return std::string("attributes ") + hex + " hold bits that cannot be set on a file";
    }
    return "";
}

}  // namespace pack
