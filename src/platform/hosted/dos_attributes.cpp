#include "platform/hosted/dos_attributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/hosted/error_text.h"
#include "platform/win_constants.h"

namespace hosted {

namespace {

constexpr std::uint32_t kStoredBits =
    win::kFileAttributeHidden | win::kFileAttributeSystem | win::kFileAttributeArchive;

// The stored bits, read from the hexadecimal number that the attribute text
// begins with ("0x" optional; anything after the number is ignored).
std::uint32_t StoredBits(const std::string& hostPath) {
    const ssize_t size = lgetxattr(hostPath.c_str(), kDosAttributeName, nullptr, 0);
    if (size <= 0) {
        return 0;
    }
    std::vector<char> text(static_cast<std::size_t>(size));
    const ssize_t read = lgetxattr(hostPath.c_str(), kDosAttributeName, text.data(), text.size());
    if (read <= 0) {
        return 0;
    }
    const char* begin = text.data();
    const char* end = begin + read;
    if (end - begin >= 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
        begin += 2;
    }
    std::uint32_t bits = 0;
    std::from_chars(begin, end, bits, 16);
    return bits & kStoredBits;
}

std::uint32_t StoreBits(const std::string& hostPath, std::uint32_t bits) {
    if (bits == StoredBits(hostPath)) {
        return win::kErrorSuccess;
    }
    int result = 0;
    if (bits == 0) {
        result = lremovexattr(hostPath.c_str(), kDosAttributeName);
    } else {
        char text[16];
        const int length = std::snprintf(text, sizeof text, "0x%x", bits);
        result = lsetxattr(hostPath.c_str(), kDosAttributeName, text, length, 0);
    }
    return result == 0 ? win::kErrorSuccess : WinErrorAfterHostCall(errno, hostPath);
}

std::uint32_t ChangeMode(const std::string& hostPath, mode_t from, mode_t to) {
    if (from == to || chmod(hostPath.c_str(), to) == 0) {
        return win::kErrorSuccess;
    }
    return WinErrorAfterHostCall(errno, hostPath);
}

}  // namespace

std::uint32_t ReadAttributes(const std::string& hostPath) {
    struct stat status {};
    if (lstat(hostPath.c_str(), &status) != 0) {
        return win::kInvalidFileAttributes;
    }
    if (S_ISLNK(status.st_mode)) {
        struct stat target {};
        const bool toFolder = stat(hostPath.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        return win::kFileAttributeReparsePoint | (toFolder ? win::kFileAttributeDirectory : 0);
    }
    std::uint32_t bits = StoredBits(hostPath);
    if ((status.st_mode & S_IWUSR) == 0) {
        bits |= win::kFileAttributeReadonly;
    }
    if (S_ISDIR(status.st_mode)) {
        bits |= win::kFileAttributeDirectory;
    }
    return bits != 0 ? bits : win::kFileAttributeNormal;
}

std::uint32_t WriteAttributes(const std::string& hostPath, std::uint32_t attributes) {
    struct stat status {};
    if (lstat(hostPath.c_str(), &status) != 0) {
        return WinErrorAfterHostCall(errno, hostPath);
    }
    const bool readOnly = (attributes & win::kFileAttributeReadonly) != 0;
    const std::uint32_t stored = attributes & kStoredBits;
    if (S_ISLNK(status.st_mode)) {
        return readOnly || stored != 0 ? win::kErrorAccessDenied : win::kErrorSuccess;
    }
    const mode_t mode = status.st_mode & 07777;
    const mode_t writable = mode | S_IWUSR;
    // Write permission comes first and goes last, so that the extended
    // attribute can be written by an owner who is not the superuser.
    if (const auto error = ChangeMode(hostPath, mode, readOnly ? mode : writable)) {
        return error;
    }
    if (const auto error = StoreBits(hostPath, stored)) {
        chmod(hostPath.c_str(), mode);
        return error;
    }
    return readOnly ? ChangeMode(hostPath, mode, mode & ~0222) : win::kErrorSuccess;
}

}  // namespace hosted
