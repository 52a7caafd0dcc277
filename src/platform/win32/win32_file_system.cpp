#include "platform/win32/win32_file_system.h"

#include "platform/path_syntax.h"
#include "platform/win32/low_level_io.h"
#include "platform/win32/win32_file_find.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

namespace {

// The attributes of a path, without the system's box that asks for a disk
// in an empty drive.
DWORD AttributesOf(const std::string& path) {
    const UINT previousMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    ::SetErrorMode(previousMode);
    return attributes;
}

}  // namespace

int Win32FileSystem::OpenRead(const std::string& path) {
    return crt::_open(path.c_str(), crt::kReadOnly | crt::kBinary);
}

int Win32FileSystem::CreateExclusive(const std::string& path) {
    return crt::_open(path.c_str(), crt::kCreate | crt::kExclusive | crt::kWriteOnly | crt::kBinary,
                      crt::kReadable | crt::kWritable);
}

int Win32FileSystem::Read(int handle, void* buffer, unsigned count) {
    return crt::_read(handle, buffer, count);
}

long Win32FileSystem::Seek(int handle, long offset) {
    return crt::_lseek(handle, offset);
}

int Win32FileSystem::Write(int handle, const void* buffer, unsigned count) {
    return crt::_write(handle, buffer, count);
}

int Win32FileSystem::Close(int handle) {
    return crt::_close(handle);
}

// Opens the file the way the framework's CFile does for reading: no sharing
// with other openers, an existing file only.
bool Win32FileSystem::GetFileLength(const std::string& path, std::uint64_t& length) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD high = 0;
    DWORD low = ::GetFileSize(file, &high);
    bool measured = low != INVALID_FILE_SIZE || ::GetLastError() == NO_ERROR;
    if (measured) {
        length = (std::uint64_t{high} << 32) | low;
    }
    ::CloseHandle(file);
    return measured;
}

std::uint32_t Win32FileSystem::GetFileAttributesA(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool Win32FileSystem::SetFileAttributesA(const std::string& path, std::uint32_t attributes) {
    return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool Win32FileSystem::DeleteFileA(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::CreateDirectoryA(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32FileSystem::RemoveDirectoryA(const std::string& path) {
    return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

bool Win32FileSystem::PathFileExistsA(const std::string& path) {
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::PathIsDirectoryA(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::PathIsUNCA(const std::string& path) {
    return platform::PathIsUNCA(path);
}

bool Win32FileSystem::PathSkipRootA(const std::string& path, std::string& rest) {
    return platform::PathSkipRootA(path, rest);
}

std::unique_ptr<FileFind> Win32FileSystem::NewFileFind() {
    return NewWin32FileFind();
}

}  // namespace platform::win32
