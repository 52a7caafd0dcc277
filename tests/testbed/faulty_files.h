// A file system that passes every call to another one, failing the calls and
// shortening the reads and writes that a FaultPlan picks, and counting what
// the caller left open. A failing call sets the system's last error.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system.h"
#include "testbed/fault_plan.h"

namespace testbed {

class FaultyFiles : public platform::FileSystem {
  public:
    FaultyFiles(platform::FileSystem& inner, platform::System& system, FaultPlan& faults);

    // Handles opened and not closed; searches started and not closed (a
    // search that is destroyed without Close stays counted).
    int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
    int OpenSearchCount() const { return openSearches_; }
    // The byte counts asked for by each Read and Write, in order.
    std::vector<unsigned> reads;
    std::vector<unsigned> writes;

    int OpenRead(const std::string& path) override;
    int CreateExclusive(const std::string& path) override;
    int Read(int handle, void* buffer, unsigned count) override;
    long Seek(int handle, long offset) override;
    int Write(int handle, const void* buffer, unsigned count) override;
    // The handle is released even when the close is made to fail, as the C
    // run-time releases it.
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

  private:
    class Find;
    int Opened(int handle);

    platform::FileSystem& inner_;
    platform::System& system_;
    FaultPlan& faults_;
    std::set<int> handles_;
    int openSearches_ = 0;
};

}  // namespace testbed
