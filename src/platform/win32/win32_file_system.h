// The file system of the running Windows: the C run-time's low-level file
// I/O and the shell's path tests, both built here on the kernel's calls, and
// the kernel's attribute and folder calls.
#pragma once

#include "platform/file_system.h"

namespace platform::win32 {

class Win32FileSystem final : public FileSystem {
  public:
    int OpenRead(const std::string& path) override;
    int CreateExclusive(const std::string& path) override;
    int Read(int handle, void* buffer, unsigned count) override;
    long Seek(int handle, long offset) override;
    int Write(int handle, const void* buffer, unsigned count) override;
    int Close(int handle) override;
    bool GetFileLength(const std::string& path, std::uint64_t& length) override;

    std::uint32_t GetFileAttributesA(const std::string& path) override;
    bool SetFileAttributesA(const std::string& path, std::uint32_t attributes) override;
    bool DeleteFileA(const std::string& path) override;
    bool CreateDirectoryA(const std::string& path) override;
    bool RemoveDirectoryA(const std::string& path) override;

    bool PathFileExistsA(const std::string& path) override;
    bool PathIsDirectoryA(const std::string& path) override;
    bool PathIsUNCA(const std::string& path) override;
    bool PathSkipRootA(const std::string& path, std::string& rest) override;

    std::unique_ptr<FileFind> NewFileFind() override;
};

}  // namespace platform::win32
