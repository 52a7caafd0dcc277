#include "testbed/faulty_files.h"

#include "platform/win_constants.h"

namespace testbed {

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
        if (open_) {
            --files_.openSearches_;
        }
        open_ = false;
        inner_->Close();
    }

  private:
    FaultyFiles& files_;
    std::unique_ptr<platform::FileFind> inner_;
    bool open_ = false;
};

FaultyFiles::FaultyFiles(platform::FileSystem& inner, platform::System& system, FaultPlan& faults)
    : inner_(inner), system_(system), faults_(faults) {}

int FaultyFiles::Opened(int handle) {
    if (handle >= 0) {
        handles_.insert(handle);
    }
    return handle;
}

int FaultyFiles::OpenRead(const std::string& path) {
    return faults_.Fails(Call::OpenRead, system_) ? -1 : Opened(inner_.OpenRead(path));
}

int FaultyFiles::CreateExclusive(const std::string& path) {
    return faults_.Fails(Call::CreateExclusive, system_) ? -1
                                                         : Opened(inner_.CreateExclusive(path));
}

int FaultyFiles::Read(int handle, void* buffer, unsigned count) {
    reads.push_back(count);
    if (faults_.Fails(Call::Read, system_)) {
        return -1;
    }
    return inner_.Read(handle, buffer, faults_.Limit(Call::Read, count));
}

long FaultyFiles::Seek(int handle, long offset) {
    return faults_.Fails(Call::Seek, system_) ? -1 : inner_.Seek(handle, offset);
}

int FaultyFiles::Write(int handle, const void* buffer, unsigned count) {
    writes.push_back(count);
    if (faults_.Fails(Call::Write, system_)) {
        return -1;
    }
    return inner_.Write(handle, buffer, faults_.Limit(Call::Write, count));
}

int FaultyFiles::Close(int handle) {
    const bool fails = faults_.Fails(Call::Close, system_);
    const std::uint32_t error = system_.GetLastError();
    handles_.erase(handle);
    const int result = inner_.Close(handle);
    if (fails) {
        system_.SetLastError(error);
        return -1;
    }
    return result;
}

bool FaultyFiles::GetFileLength(const std::string& path, std::uint64_t& length) {
    return !faults_.Fails(Call::GetFileLength, system_) && inner_.GetFileLength(path, length);
}

std::uint32_t FaultyFiles::GetFileAttributesA(const std::string& path) {
    return faults_.Fails(Call::GetFileAttributes, system_) ? win::kInvalidFileAttributes
                                                           : inner_.GetFileAttributesA(path);
}

bool FaultyFiles::SetFileAttributesA(const std::string& path, std::uint32_t attributes) {
    return !faults_.Fails(Call::SetFileAttributes, system_) &&
           inner_.SetFileAttributesA(path, attributes);
}

bool FaultyFiles::DeleteFileA(const std::string& path) {
    return !faults_.Fails(Call::DeleteFile, system_) && inner_.DeleteFileA(path);
}

bool FaultyFiles::CreateDirectoryA(const std::string& path) {
    return !faults_.Fails(Call::CreateDirectory, system_) && inner_.CreateDirectoryA(path);
}

bool FaultyFiles::RemoveDirectoryA(const std::string& path) {
    return !faults_.Fails(Call::RemoveDirectory, system_) && inner_.RemoveDirectoryA(path);
}

bool FaultyFiles::PathFileExistsA(const std::string& path) {
    return !faults_.Fails(Call::PathFileExists, system_) && inner_.PathFileExistsA(path);
}

bool FaultyFiles::PathIsDirectoryA(const std::string& path) {
    return !faults_.Fails(Call::PathIsDirectory, system_) && inner_.PathIsDirectoryA(path);
}

bool FaultyFiles::PathIsUNCA(const std::string& path) {
    return inner_.PathIsUNCA(path);
}

bool FaultyFiles::PathSkipRootA(const std::string& path, std::string& rest) {
    return inner_.PathSkipRootA(path, rest);
}

std::unique_ptr<platform::FileFind> FaultyFiles::NewFileFind() {
    return std::make_unique<Find>(*this, inner_.NewFileFind());
}

}  // namespace testbed
