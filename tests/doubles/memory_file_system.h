// An in-memory Windows volume set with the file system semantics the logic
// relies on: drive letters, folders, names found whatever their letter case,
// attribute bits, exclusive creation, read-only files that refuse deletion,
// folder links, a disk that can fill up, and faults from a FaultPlan.
//
// Every call consults the FaultPlan before anything else; a failing call
// sets the last error. A new file gets FILE_ATTRIBUTE_ARCHIVE, as on
// Windows. A search that is never closed stays counted in OpenSearchCount,
// so a test can tell a search that the logic forgot to close.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "doubles/fault_plan.h"
#include "platform/file_system.h"
#include "platform/hosted/last_error.h"

namespace doubles {

struct WindowsPath;

class MemoryFileSystem : public platform::FileSystem {
  public:
    MemoryFileSystem(hosted::LastError& lastError, FaultPlan& faults);
    ~MemoryFileSystem() override;

    // Setting up. Paths are Windows paths such as "E:\HelpFiles\Stash.hlp";
    // the parent folders of a new entry are made as needed, but the drive
    // must have been added (std::invalid_argument otherwise).
    void AddDrive(char letter);
    void AddFolder(const std::string& path, std::uint32_t attributes = 0x10);
    void AddFile(const std::string& path, const std::string& contents,
                 std::uint32_t attributes = 0x80);
    // A folder link (junction) at path that leads to the folder target.
    void AddFolderLink(const std::string& path, const std::string& target);
    // The drive holds at most bytes of file contents; a write beyond fails
    // short with ERROR_DISK_FULL.
    void SetCapacity(char letter, std::uint64_t bytes);
    // The drive disappears (pulled): later calls on its paths fail with
    // ERROR_PATH_NOT_FOUND, reads and seeks on its open handles with
    // ERROR_NOT_READY, writes with ERROR_GEN_FAILURE.
    void RemoveDrive(char letter);

    // Inspecting.
    bool Exists(const std::string& path) const;
    std::string Contents(const std::string& path) const;  // empty when missing
    std::uint32_t Attributes(const std::string& path) const;
    // Every entry below a drive, folders ending in a backslash, in name order:
    // "E:\HelpFiles\", "E:\HelpFiles\Stash.hlp", ... A folder link is listed
    // as a folder, without what it leads to.
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
    struct Drive;

  private:
    class Search;
    struct Handle;
    hosted::LastError& lastError_;
    FaultPlan& faults_;
    std::map<char, std::shared_ptr<Drive>> drives_;
    std::map<int, std::unique_ptr<Handle>> handles_;
    int nextHandle_ = 3;
    int openSearches_ = 0;

    // Consults the plan for the call, then finds the entry that path names;
    // null with the last error set when either fails.
    Node* Entry(Call call, const std::string& path, bool followLink);
    // The same for the folder that is to hold a new entry, and its name.
    Node* ParentFor(Call call, const std::string& path, std::string& name);
    Node* Find(const std::string& path, bool followLink, std::uint32_t& error) const;
    Node* Resolve(const WindowsPath& path, std::size_t depth, bool followLink, int hops,
                  std::uint32_t& error) const;
    std::shared_ptr<Drive> DriveOf(const Node& node) const;
    Drive& SetUpDrive(const std::string& path) const;
    Node& SetUpEntry(const std::string& path, bool folder);
    int Open(Node& node, bool writing);
    bool Fail(std::uint32_t error);
    Handle* Usable(Call call, int handle, std::uint32_t pulledError);
};

}  // namespace doubles
