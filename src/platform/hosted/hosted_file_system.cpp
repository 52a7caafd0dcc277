#include "platform/hosted/hosted_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/hosted/dos_attributes.h"
#include "platform/hosted/hosted_file_find.h"
#include "platform/path_syntax.h"
#include "platform/win_constants.h"

namespace hosted {

namespace {

constexpr std::uint32_t kInvalid = win::kInvalidFileAttributes;

bool Has(std::uint32_t attributes, std::uint32_t bits) {
    return attributes != kInvalid && (attributes & bits) != 0;
}

}  // namespace

HostedFileSystem::HostedFileSystem(const DriveMap& drives, LastError& lastError)
    : drives_(drives), lastError_(lastError) {}

bool HostedFileSystem::Resolve(const std::string& path, LastLink lastLink, HostPath& result) {
    const auto error = drives_.Resolve(path, lastLink, result);
    return error == win::kErrorSuccess || Fail(error);
}

void HostedFileSystem::FailAfterHostCall(const std::string& hostPath, Creating creating) {
    lastError_.Set(WinErrorAfterHostCall(errno, hostPath, creating));
}

void HostedFileSystem::FailAfterHandleCall() {
    lastError_.Set(WinErrorFromErrno(errno, true));
}

std::uint32_t HostedFileSystem::AttributesOf(const std::string& hostPath) {
    const std::uint32_t attributes = ReadAttributes(hostPath);
    if (attributes == kInvalid) {
        FailAfterHostCall(hostPath);
    }
    return attributes;
}

bool HostedFileSystem::Fail(std::uint32_t code) {
    lastError_.Set(code);
    return false;
}

int HostedFileSystem::OpenContent(const std::string& path) {
    HostPath host;
    if (!Resolve(path, LastLink::Follow, host)) {
        return -1;
    }
    const int handle = open(host.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        FailAfterHostCall(host.path);
        return -1;
    }
    struct stat status {};
    if (fstat(handle, &status) != 0 || S_ISDIR(status.st_mode)) {
        close(handle);
        Fail(win::kErrorAccessDenied);
        return -1;
    }
    return handle;
}

int HostedFileSystem::OpenRead(const std::string& path) {
    return OpenContent(path);
}

int HostedFileSystem::CreateExclusive(const std::string& path) {
    HostPath host;
    if (!Resolve(path, LastLink::Keep, host)) {
        return -1;
    }
    const int handle = open(host.path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (handle < 0) {
        FailAfterHostCall(host.path);
    } else {
        drives_.Added(host.path);
    }
    return handle;
}

int HostedFileSystem::Read(int handle, void* buffer, unsigned count) {
    const ssize_t result = read(handle, buffer, count > INT_MAX ? INT_MAX : count);
    if (result < 0) {
        FailAfterHandleCall();
    }
    return static_cast<int>(result);
}

long HostedFileSystem::Seek(int handle, long offset) {
    if (offset < 0) {
        lastError_.Set(win::kErrorNegativeSeek);
        return -1;
    }
    const off_t result = lseek(handle, offset, SEEK_SET);
    if (result < 0) {
        FailAfterHandleCall();
    }
    return static_cast<long>(result);
}

int HostedFileSystem::Write(int handle, const void* buffer, unsigned count) {
    const ssize_t result = write(handle, buffer, count > INT_MAX ? INT_MAX : count);
    if (result < 0) {
        FailAfterHandleCall();
    }
    return static_cast<int>(result);
}

int HostedFileSystem::Close(int handle) {
    const int result = close(handle);
    if (result != 0) {
        FailAfterHandleCall();
    }
    return result;
}

bool HostedFileSystem::GetFileLength(const std::string& path, std::uint64_t& length) {
    const int handle = OpenContent(path);
    if (handle < 0) {
        return false;
    }
    struct stat status {};
    const bool measured = fstat(handle, &status) == 0;
    if (measured) {
        length = static_cast<std::uint64_t>(status.st_size);
    } else {
        FailAfterHandleCall();
    }
    close(handle);
    return measured;
}

std::uint32_t HostedFileSystem::GetFileAttributesA(const std::string& path) {
    HostPath host;
    if (!Resolve(path, LastLink::Keep, host)) {
        return kInvalid;
    }
    return AttributesOf(host.path);
}

bool HostedFileSystem::SetFileAttributesA(const std::string& path, std::uint32_t attributes) {
    HostPath host;
    if (!Resolve(path, LastLink::Keep, host)) {
        return false;
    }
    const auto error = WriteAttributes(host.path, attributes);
    return error == win::kErrorSuccess || Fail(error);
}

bool HostedFileSystem::DeleteFileA(const std::string& path) {
    HostPath host;
    if (!Resolve(path, LastLink::Keep, host)) {
        return false;
    }
    const std::uint32_t attributes = AttributesOf(host.path);
    if (attributes == kInvalid) {
        return false;
    }
    if (Has(attributes, win::kFileAttributeDirectory | win::kFileAttributeReadonly)) {
        return Fail(win::kErrorAccessDenied);
    }
    if (unlink(host.path.c_str()) != 0) {
        FailAfterHostCall(host.path);
        return false;
    }
    drives_.Removed(host.path);
    return true;
}

bool HostedFileSystem::CreateDirectoryA(const std::string& path) {
    HostPath host;
    if (!Resolve(path, LastLink::Keep, host)) {
        return false;
    }
    if (mkdir(host.path.c_str(), 0777) != 0) {
        FailAfterHostCall(host.path, Creating::Folder);
        return false;
    }
    drives_.Added(host.path);
    return true;
}

bool HostedFileSystem::RemoveDirectoryA(const std::string& path) {
    HostPath host;
    if (!Resolve(path, LastLink::Keep, host)) {
        return false;
    }
    if (host.isDriveRoot) {
        return Fail(win::kErrorAccessDenied);
    }
    const std::uint32_t attributes = AttributesOf(host.path);
    if (attributes == kInvalid) {
        return false;
    }
    if (!Has(attributes, win::kFileAttributeDirectory)) {
        return Fail(win::kErrorDirectory);
    }
    if (Has(attributes, win::kFileAttributeReadonly)) {
        return Fail(win::kErrorAccessDenied);
    }
    const bool link = Has(attributes, win::kFileAttributeReparsePoint);
    if ((link ? unlink(host.path.c_str()) : rmdir(host.path.c_str())) != 0) {
        if (errno == EEXIST) {
            errno = ENOTEMPTY;
        }
        FailAfterHostCall(host.path);
        return false;
    }
    drives_.Removed(host.path);
    return true;
}

bool HostedFileSystem::PathFileExistsA(const std::string& path) {
    return GetFileAttributesA(path) != kInvalid;
}

bool HostedFileSystem::PathIsDirectoryA(const std::string& path) {
    return Has(GetFileAttributesA(path), win::kFileAttributeDirectory);
}

bool HostedFileSystem::PathIsUNCA(const std::string& path) {
    return platform::PathIsUNCA(path);
}

bool HostedFileSystem::PathSkipRootA(const std::string& path, std::string& rest) {
    return platform::PathSkipRootA(path, rest);
}

std::unique_ptr<platform::FileFind> HostedFileSystem::NewFileFind() {
    return std::make_unique<HostedFileFind>(drives_, lastError_);
}

}  // namespace hosted
