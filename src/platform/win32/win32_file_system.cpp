#include "platform/win32/win32_file_system.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "platform/win32/win32_file_find.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

int Win32FileSystem::OpenRead(const std::string& path) {
    return ::_open(path.c_str(), _O_RDONLY | _O_BINARY);
}

int Win32FileSystem::CreateExclusive(const std::string& path) {
    return ::_open(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}

int Win32FileSystem::Read(int handle, void* buffer, unsigned count) {
    return ::_read(handle, buffer, count);
}

long Win32FileSystem::Seek(int handle, long offset) {
    return ::_lseek(handle, offset, SEEK_SET);
}

int Win32FileSystem::Write(int handle, const void* buffer, unsigned count) {
    return ::_write(handle, buffer, count);
}

int Win32FileSystem::Close(int handle) {
    return ::_close(handle);
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
    return ::PathFileExistsA(path.c_str()) != FALSE;
}

bool Win32FileSystem::PathIsDirectoryA(const std::string& path) {
    return ::PathIsDirectoryA(path.c_str()) != FALSE;
}

bool Win32FileSystem::PathIsUNCA(const std::string& path) {
    return ::PathIsUNCA(path.c_str()) != FALSE;
}

bool Win32FileSystem::PathSkipRootA(const std::string& path, std::string& rest) {
    const char* after = ::PathSkipRootA(path.c_str());
    if (after == nullptr) {
        return false;
    }
    rest = after;
    return true;
}

std::unique_ptr<FileFind> Win32FileSystem::NewFileFind() {
    return NewWin32FileFind();
}

}  // namespace platform::win32
