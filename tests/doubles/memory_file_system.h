// An in-memory Windows volume set with the file system semantics the logic
// relies on: drive letters, folders, names found whatever their letter case,
// attribute bits, exclusive creation, read-only files that refuse deletion,
// folder links, a disk that can fill up, and faults from a FaultPlan.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "platform/file_system.h"
#include "platform/hosted/last_error.h"

namespace doubles {

class MemoryFileSystem : public platform::FileSystem {
  public:
    MemoryFileSystem(hosted::LastError& lastError, FaultPlan& faults);
    ~MemoryFileSystem() override;

    // Setting up. Paths are Windows paths such as "E:\HelpFiles\Stash.hlp";
    // the parent folders of a new entry are made as needed.
    void AddDrive(char letter);
    void AddFolder(const std::string& path, std::uint32_t attributes = 0x10);
    void AddFile(const std::string& path, const std::string& contents,
                 std::uint32_t attributes = 0x80);
    // A folder link (junction) at path that leads to the folder target.
    void AddFolderLink(const std::string& path, const std::string& target);
    // The drive holds at most bytes of file contents; a write beyond fails
    // short with ERROR_DISK_FULL.
    void SetCapacity(char letter, std::uint64_t bytes);
    // The drive disappears (pulled): every later call on it fails.
    void RemoveDrive(char letter);

    // Inspecting.
    bool Exists(const std::string& path) const;
    std::string Contents(const std::string& path) const;  // empty when missing
    std::uint32_t Attributes(const std::string& path) const;
    // Every entry below a drive, folders ending in a backslash, in name order:
    // "E:\HelpFiles\", "E:\HelpFiles\Stash.hlp", ...
    std::vector<std::string> Tree(char letter) const;
    int OpenHandleCount() const;
    int OpenSearchCount() const;

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
    std::unique_ptr<platform::FileFind> NewFileFind() override;

    struct Node;

  private:
    class Search;
    struct Handle;
    hosted::LastError& lastError_;
    FaultPlan& faults_;
    std::map<char, std::unique_ptr<Node>> drives_;
    std::map<int, std::unique_ptr<Handle>> handles_;
    int nextHandle_ = 3;
    int openSearches_ = 0;
};

}  // namespace doubles
