// The file system of a simulated Windows machine: drive letters mapped to
// host folders, the C run-time's low-level I/O on host file descriptors and
// the Win32 attribute and folder calls with their Windows error codes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/hosted/drive_map.h"
#include "platform/hosted/error_text.h"
#include "platform/hosted/last_error.h"

namespace hosted {

class HostedFileSystem : public platform::FileSystem {
  public:
    // Both are kept by reference and must outlive the file system.
    HostedFileSystem(const DriveMap& drives, LastError& lastError);

    int OpenRead(const std::string& path) override;
    int CreateExclusive(const std::string& path) override;
    int Read(int handle, void* buffer, unsigned count) override;
    long Seek(int handle, long offset) override;
    int Write(int handle, const void* buffer, unsigned count) override;
    int Close(int handle) override;
    bool GetFileLength(const std::string& path, std::uint64_t& length) override;

    std::uint32_t GetFileAttributesA(const std::string& path) override;
    bool SetFileAttributesA(const std::string& path, std::uint32_t attributes) override;
    // Refuses a folder and a read-only file (kErrorAccessDenied), as Windows
    // does; a symbolic link to a file is removed itself.
    bool DeleteFileA(const std::string& path) override;
    bool CreateDirectoryA(const std::string& path) override;
    // Refuses a drive's root and a read-only folder (kErrorAccessDenied) and
    // a file (kErrorDirectory); a symbolic link to a folder is removed
    // itself, never what it leads to, as Windows does for a junction.
    bool RemoveDirectoryA(const std::string& path) override;

    bool PathFileExistsA(const std::string& path) override;
    bool PathIsDirectoryA(const std::string& path) override;
    bool PathIsUNCA(const std::string& path) override;
    bool PathSkipRootA(const std::string& path, std::string& rest) override;

    std::unique_ptr<platform::FileFind> NewFileFind() override;

  private:
    bool Resolve(const std::string& path, LastLink lastLink, HostPath& result);
    // Sets the last error from errno after a failed host call on hostPath.
    void FailAfterHostCall(const std::string& hostPath, Creating creating = Creating::File);
    // Sets the last error from errno after a failed call on a handle.
    void FailAfterHandleCall();
    // The attributes of a host entry; kInvalidFileAttributes with the last
    // error set when they cannot be read.
    std::uint32_t AttributesOf(const std::string& hostPath);
    bool Fail(std::uint32_t code);
    // Opens for reading what the path leads to, refusing a folder.
    int OpenContent(const std::string& path);

    const DriveMap& drives_;
    LastError& lastError_;
};

}  // namespace hosted
