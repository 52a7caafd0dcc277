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

namespace testbed {

class FaultySystem : public platform::System {
  public:
    FaultySystem(platform::System& inner, FaultPlan& faults) : inner_(inner), faults_(faults) {}

    bool GetVersionExA(std::uint32_t& platformId) override {
        return faults_.Or(Call::GetVersion, inner_, false,
                          [&] { return inner_.GetVersionExA(platformId); });
    }
    std::uint32_t GetCurrentDirectoryA(std::uint32_t size, char* buffer) override {
        return faults_.Or(Call::GetCurrentDirectory, inner_, 0u,
                          [&] { return inner_.GetCurrentDirectoryA(size, buffer); });
    }
    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override {
        return faults_.Or(Call::GetModuleFileName, inner_, 0u,
                          [&] { return inner_.GetModuleFileNameA(buffer, size); });
    }
    std::uint32_t GetLogicalDrives() override { return inner_.GetLogicalDrives(); }
    int WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                            int targetSize) override {
        return faults_.Or(Call::WideCharToMultiByte, inner_, 0, [&] {
            return inner_.WideCharToMultiByte(source, count, target, targetSize);
        });
    }
    std::uint32_t GetLastError() override { return inner_.GetLastError(); }
    void SetLastError(std::uint32_t code) override { inner_.SetLastError(code); }
    std::string FormatMessageA(std::uint32_t code) override { return inner_.FormatMessageA(code); }

  private:
    platform::System& inner_;
    FaultPlan& faults_;
};

class FaultyRegistry : public platform::Registry {
  public:
    FaultyRegistry(platform::Registry& inner, FaultPlan& faults) : inner_(inner), faults_(faults) {}

    std::uint32_t RegOpenKeyExA(win::HKEY parent, const char* subKey, std::uint32_t access,
                                win::HKEY* result) override {
        return faults_.Or(Call::RegOpenKey,
                          [&] { return inner_.RegOpenKeyExA(parent, subKey, access, result); });
    }
    std::uint32_t RegQueryValueExA(win::HKEY key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) override {
        return faults_.Or(Call::RegQueryValue, [&] {
            return inner_.RegQueryValueExA(key, valueName, type, data, size);
        });
    }
    std::uint32_t RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                std::uint32_t* size) override {
        return faults_.Or(Call::RegEnumKey,
                          [&] { return inner_.RegEnumKeyExA(key, index, name, size); });
    }
    std::uint32_t RegCloseKey(win::HKEY key) override { return inner_.RegCloseKey(key); }

  private:
    platform::Registry& inner_;
    FaultPlan& faults_;
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
        return Or(Call::OpenRead, -1, [&] { return Opened(inner_.OpenRead(path)); });
    }
    int CreateExclusive(const std::string& path) override {
        return Or(Call::CreateExclusive, -1, [&] { return Opened(inner_.CreateExclusive(path)); });
    }
    int Read(int handle, void* buffer, unsigned count) override {
        reads.push_back(count);
        return Or(Call::Read, -1,
                  [&] { return inner_.Read(handle, buffer, faults_.Limit(Call::Read, count)); });
    }
    long Seek(int handle, long offset) override {
        return Or(Call::Seek, -1L, [&] { return inner_.Seek(handle, offset); });
    }
    int Write(int handle, const void* buffer, unsigned count) override {
        writes.push_back(count);
        return Or(Call::Write, -1,
                  [&] { return inner_.Write(handle, buffer, faults_.Limit(Call::Write, count)); });
    }
    // The handle is released even when the close is made to fail, as the C
    // run-time releases it.
    int Close(int handle) override;
    bool GetFileLength(const std::string& path, std::uint64_t& length) override {
        return Or(Call::GetFileLength, false, [&] { return inner_.GetFileLength(path, length); });
    }
    std::uint32_t GetFileAttributesA(const std::string& path) override {
        return Or(Call::GetFileAttributes, win::kInvalidFileAttributes,
                  [&] { return inner_.GetFileAttributesA(path); });
    }
    bool SetFileAttributesA(const std::string& path, std::uint32_t attributes) override {
        return Or(Call::SetFileAttributes, false,
                  [&] { return inner_.SetFileAttributesA(path, attributes); });
    }
    bool DeleteFileA(const std::string& path) override {
        return Or(Call::DeleteFile, false, [&] { return inner_.DeleteFileA(path); });
    }
    bool CreateDirectoryA(const std::string& path) override {
        return Or(Call::CreateDirectory, false, [&] { return inner_.CreateDirectoryA(path); });
    }
    bool RemoveDirectoryA(const std::string& path) override {
        return Or(Call::RemoveDirectory, false, [&] { return inner_.RemoveDirectoryA(path); });
    }
    bool PathFileExistsA(const std::string& path) override {
        return Or(Call::PathFileExists, false, [&] { return inner_.PathFileExistsA(path); });
    }
    bool PathIsDirectoryA(const std::string& path) override {
        return Or(Call::PathIsDirectory, false, [&] { return inner_.PathIsDirectoryA(path); });
    }
    bool PathIsUNCA(const std::string& path) override { return inner_.PathIsUNCA(path); }
    bool PathSkipRootA(const std::string& path, std::string& rest) override {
        return inner_.PathSkipRootA(path, rest);
    }
    std::unique_ptr<platform::FileFind> NewFileFind() override;

  private:
    class Find;

    platform::FileSystem& inner_;
    platform::System& system_;
    FaultPlan& faults_;
    std::set<int> handles_;
    int openSearches_ = 0;

    template <class T, class Pass>
    T Or(Call call, T failed, Pass&& pass) {
        return faults_.Or(call, system_, failed, std::forward<Pass>(pass));
    }
    int Opened(int handle) {
        if (handle >= 0) {
            handles_.insert(handle);
        }
        return handle;
    }
};

class FaultyFiles::Find : public platform::FileFind {
  public:
    Find(FaultyFiles& files, std::unique_ptr<platform::FileFind> inner)
        : files_(files), inner_(std::move(inner)) {}

    bool FindFile(const std::string& pattern) override {
        Close();
        if (files_.faults_.Fails(Call::FindFile, files_.system_) || !inner_->FindFile(pattern)) {
            return false;
        }
        open_ = true;
        ++files_.openSearches_;
        return true;
    }
    bool FindNextFile() override {
        return !files_.faults_.Fails(Call::FindNextFile, files_.system_) && inner_->FindNextFile();
    }
    bool MatchesMask(std::uint32_t mask) const override { return inner_->MatchesMask(mask); }
    bool IsDots() const override { return inner_->IsDots(); }
    std::string GetFilePath() const override { return inner_->GetFilePath(); }
    void Close() override {
        files_.openSearches_ -= open_ ? 1 : 0;
        open_ = false;
        inner_->Close();
    }

  private:
    FaultyFiles& files_;
    std::unique_ptr<platform::FileFind> inner_;
    bool open_ = false;
};

inline int FaultyFiles::Close(int handle) {
    const bool fails = faults_.Fails(Call::Close, system_);
    const std::uint32_t error = system_.GetLastError();
    handles_.erase(handle);
    const int result = inner_.Close(handle);
    system_.SetLastError(fails ? error : system_.GetLastError());
    return fails ? -1 : result;
}

inline std::unique_ptr<platform::FileFind> FaultyFiles::NewFileFind() {
    return std::make_unique<Find>(*this, inner_.NewFileFind());
}

}  // namespace testbed
