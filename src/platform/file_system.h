// Files and folders as the installer's logic sees them on Windows: the C
// run-time's low-level file I/O, the Win32 attribute and folder calls, the
// shell's path tests and the folder search. Every call that fails sets the
// last error (System::GetLastError) the way Windows does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// One folder search, with the semantics of the framework's CFileFind.
class FileFind {
  public:
    virtual ~FileFind() = default;
    // Starts the search for a pattern such as "E:\HelpFiles\*.*"; false when
    // nothing can be found (the folder is missing, unreadable or empty).
    virtual bool FindFile(const std::string& pattern) = 0;
    // Moves to the next entry; false when the entry it moved to is the last
    // one (that entry is still current and must be handled).
    virtual bool FindNextFile() = 0;
    // True when the current entry has any of the given attribute bits.
    virtual bool MatchesMask(std::uint32_t mask) const = 0;
    // True for the entries "." and "..".
    virtual bool IsDots() const = 0;
    // Full path of the current entry: the pattern's folder and its name.
    virtual std::string GetFilePath() const = 0;
    virtual void Close() = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // _open(path, _O_RDONLY | _O_BINARY): a handle >= 0, or -1.
    virtual int OpenRead(const std::string& path) = 0;
    // _open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD |
    // _S_IWRITE): a handle >= 0, or -1 (also when the file exists).
    virtual int CreateExclusive(const std::string& path) = 0;
    // _read: the count read, 0 at the end of the file, -1 on error.
    virtual int Read(int handle, void* buffer, unsigned count) = 0;
    // _lseek(handle, offset, SEEK_SET): the new position, or -1.
    virtual long Seek(int handle, long offset) = 0;
    // _write: the count written (may be short), -1 on error.
    virtual int Write(int handle, const void* buffer, unsigned count) = 0;
    // _close: 0, or -1.
    virtual int Close(int handle) = 0;
    // CFile::Open(path, modeRead) then CFile::GetLength: false when the file
    // cannot be opened. Unlike _open, the framework's file shares it with no
    // other opener: a file that another program holds open cannot.
    virtual bool GetFileLength(const std::string& path, std::uint64_t& length) = 0;

    // GetFileAttributesA: the bits, or win::kInvalidFileAttributes.
    virtual std::uint32_t GetFileAttributesA(const std::string& path) = 0;
    // SetFileAttributesA, DeleteFileA, CreateDirectoryA, RemoveDirectoryA:
    // true on success.
    virtual bool SetFileAttributesA(const std::string& path, std::uint32_t attributes) = 0;
    virtual bool DeleteFileA(const std::string& path) = 0;
    virtual bool CreateDirectoryA(const std::string& path) = 0;
    virtual bool RemoveDirectoryA(const std::string& path) = 0;

    // Shell path functions.
    virtual bool PathFileExistsA(const std::string& path) = 0;
    virtual bool PathIsDirectoryA(const std::string& path) = 0;
    virtual bool PathIsUNCA(const std::string& path) = 0;
    // PathSkipRootA: true with the part of the path after its root ("E:\A\B"
    // gives "A\B", "E:\" gives ""); false when the path has no root that the
    // shell recognises.
    virtual bool PathSkipRootA(const std::string& path, std::string& rest) = 0;

    virtual std::unique_ptr<FileFind> NewFileFind() = 0;
};

}  // namespace platform
