// The seam passed on to another implementation, failing the calls and
// shortening the reads and writes that a FaultPlan picks; a failing call sets
// the last error (a registry call returns it). Never failed: GetLogicalDrives,
// last errors, texts, path syntax, RegCloseKey (so a key left open shows).
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/win_constants.h"
#include "testbed/fault_plan.h"

// A method that the plan fails as a call of the kind, returning failed, or
// that passes the arguments on to the inner implementation.
#define TESTBED_PASS(Kind, failed, Ret, Method, Params, Args)              \
    Ret Method Params override {                                           \
        return Or(Call::Kind, failed, [&] { return inner_.Method Args; }); \
    }

namespace testbed {

class FaultySystem : public platform::System {
  public:
    FaultySystem(platform::System& inner, FaultPlan& faults) : inner_(inner), faults_(faults) {}

    TESTBED_PASS(GetVersion, false, bool, GetVersionExA, (std::uint32_t & id), (id))
    TESTBED_PASS(GetCurrentDirectory, 0u, std::uint32_t, GetCurrentDirectoryA,
                 (std::uint32_t size, char* to), (size, to))
    TESTBED_PASS(GetModuleFileName, 0u, std::uint32_t, GetModuleFileNameA,
                 (char* to, std::uint32_t size), (to, size))
    TESTBED_PASS(WideCharToMultiByte, 0, int, WideCharToMultiByte,
                 (const std::uint16_t* from, int n, char* to, int size), (from, n, to, size))
    std::uint32_t GetLogicalDrives() override { return inner_.GetLogicalDrives(); }
    std::uint32_t GetLastError() override { return inner_.GetLastError(); }
    void SetLastError(std::uint32_t code) override { inner_.SetLastError(code); }
    std::string FormatMessageA(std::uint32_t code) override { return inner_.FormatMessageA(code); }

  private:
    platform::System& inner_;
    FaultPlan& faults_;

    template <class T, class Pass>
    T Or(Call call, T failed, Pass&& pass) {
        return faults_.Fails(call, inner_) ? failed : pass();
    }
};

class FaultyRegistry : public platform::Registry {
  public:
    FaultyRegistry(platform::Registry& inner, FaultPlan& faults) : inner_(inner), faults_(faults) {}

    TESTBED_PASS(RegOpenKey, 0, std::uint32_t, RegOpenKeyExA,
                 (win::HKEY key, const char* sub, std::uint32_t access, win::HKEY* to),
                 (key, sub, access, to))
    TESTBED_PASS(RegQueryValue, 0, std::uint32_t, RegQueryValueExA,
                 (win::HKEY key, const char* name, std::uint32_t* type, std::uint8_t* to,
                  std::uint32_t* size),
                 (key, name, type, to, size))
    TESTBED_PASS(RegEnumKey, 0, std::uint32_t, RegEnumKeyExA,
                 (win::HKEY key, std::uint32_t at, char* to, std::uint32_t* size),
                 (key, at, to, size))
    std::uint32_t RegCloseKey(win::HKEY key) override { return inner_.RegCloseKey(key); }

  private:
    platform::Registry& inner_;
    FaultPlan& faults_;

    // A registry call returns its error.
    template <class Pass>
    std::uint32_t Or(Call call, int, Pass&& pass) {
        std::uint32_t error = 0;
        return faults_.ShouldFail(call, error) ? error : pass();
    }
};

// A search through the files below, counted in openSearches while it is open.
class FaultyFind : public platform::FileFind {
  public:
    FaultyFind(FaultPlan& faults, platform::System& system, int& openSearches,
               std::unique_ptr<platform::FileFind> inner)
        : faults_(faults), system_(system), openSearches_(openSearches), inner_(std::move(inner)) {}

    bool FindFile(const std::string& pattern) override {
        Close();
        open_ = !Fails(Call::FindFile) && inner_->FindFile(pattern);
        openSearches_ += open_ ? 1 : 0;
        return open_;
    }
    bool FindNextFile() override { return !Fails(Call::FindNextFile) && inner_->FindNextFile(); }
    bool MatchesMask(std::uint32_t mask) const override { return inner_->MatchesMask(mask); }
    bool IsDots() const override { return inner_->IsDots(); }
    std::string GetFilePath() const override { return inner_->GetFilePath(); }
    void Close() override {
        openSearches_ -= open_ ? 1 : 0;
        open_ = false;
        inner_->Close();
    }

  private:
    FaultPlan& faults_;
    platform::System& system_;
    int& openSearches_;
    std::unique_ptr<platform::FileFind> inner_;
    bool open_ = false;

    bool Fails(Call call) { return faults_.Fails(call, system_); }
};

class FaultyFiles : public platform::FileSystem {
  public:
    FaultyFiles(platform::FileSystem& inner, platform::System& system, FaultPlan& faults)
        : inner_(inner), system_(system), faults_(faults) {}

    // Handles opened and not closed; searches started and not closed (a
    // search that is destroyed without Close stays counted).
    int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
    int OpenSearchCount() const { return openSearches_; }
    // The byte counts asked for by each Read and Write, in order.
    std::vector<unsigned> reads;
    std::vector<unsigned> writes;

    int OpenRead(const std::string& path) override {
        return Opened(Or(Call::OpenRead, -1, [&] { return inner_.OpenRead(path); }));
    }
    int CreateExclusive(const std::string& path) override {
        return Opened(Or(Call::CreateExclusive, -1, [&] { return inner_.CreateExclusive(path); }));
    }
    int Read(int handle, void* buffer, unsigned count) override {
        reads.push_back(count);
        return Or(Call::Read, -1,
                  [&] { return inner_.Read(handle, buffer, faults_.Limit(Call::Read, count)); });
    }
    int Write(int handle, const void* buffer, unsigned count) override {
        writes.push_back(count);
        return Or(Call::Write, -1,
                  [&] { return inner_.Write(handle, buffer, faults_.Limit(Call::Write, count)); });
    }
    // The handle is released even when the close is made to fail, as the C
    // run-time releases it.
    int Close(int handle) override {
        handles_.erase(handle);
        const int result = inner_.Close(handle);
        return Or(Call::Close, -1, [&] { return result; });
    }
    TESTBED_PASS(Seek, -1L, long, Seek, (int handle, long offset), (handle, offset))
    TESTBED_PASS(GetFileLength, false, bool, GetFileLength,
                 (const std::string& path, std::uint64_t& length), (path, length))
    TESTBED_PASS(GetFileAttributes, win::kInvalidFileAttributes, std::uint32_t, GetFileAttributesA,
                 (const std::string& path), (path))
    TESTBED_PASS(SetFileAttributes, false, bool, SetFileAttributesA,
                 (const std::string& path, std::uint32_t attributes), (path, attributes))
    TESTBED_PASS(DeleteFile, false, bool, DeleteFileA, (const std::string& path), (path))
    TESTBED_PASS(CreateDirectory, false, bool, CreateDirectoryA, (const std::string& path), (path))
    TESTBED_PASS(RemoveDirectory, false, bool, RemoveDirectoryA, (const std::string& path), (path))
    TESTBED_PASS(PathFileExists, false, bool, PathFileExistsA, (const std::string& path), (path))
    TESTBED_PASS(PathIsDirectory, false, bool, PathIsDirectoryA, (const std::string& path), (path))
    bool PathIsUNCA(const std::string& path) override { return inner_.PathIsUNCA(path); }
    bool PathSkipRootA(const std::string& path, std::string& rest) override {
        return inner_.PathSkipRootA(path, rest);
    }
    std::unique_ptr<platform::FileFind> NewFileFind() override {
        return std::make_unique<FaultyFind>(faults_, system_, openSearches_, inner_.NewFileFind());
    }

  private:
    platform::FileSystem& inner_;
    platform::System& system_;
    FaultPlan& faults_;
    std::set<int> handles_;
    int openSearches_ = 0;

    template <class T, class Pass>
    T Or(Call call, T failed, Pass&& pass) {
        return faults_.Fails(call, system_) ? failed : pass();
    }
    int Opened(int handle) { return handle < 0 ? handle : *handles_.insert(handle).first; }
};

}  // namespace testbed
