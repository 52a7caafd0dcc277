// The folder search of the simulated machine. It lists what the folder holds
// when the search starts: "." and ".." first (except at a drive's root, as
// Windows does), then the names sorted without regard to case, the order an
// NTFS volume gives. Only the patterns "*.*" and "*" are understood.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/hosted/drive_map.h"
#include "platform/hosted/last_error.h"

namespace hosted {

class HostedFileFind : public platform::FileFind {
  public:
    HostedFileFind(const DriveMap& drives, LastError& lastError);

    // False with the last error set: kErrorPathNotFound for a missing
    // folder, kErrorFileNotFound for an empty drive root,
    // kErrorInvalidParameter for a pattern other than "*.*" and "*".
    bool FindFile(const std::string& pattern) override;
    bool FindNextFile() override;
    bool MatchesMask(std::uint32_t mask) const override;
    bool IsDots() const override;
    std::string GetFilePath() const override;
    void Close() override;

  private:
    struct Entry {
        std::string name;
        std::uint32_t attributes;
    };

    // The entry FindNextFile moved to last, or null before the first move.
    const Entry* Current() const;
    bool Fail(std::uint32_t code);

    const DriveMap& drives_;
    LastError& lastError_;
    std::string folder_;  // the pattern up to and with its last separator
    std::vector<Entry> entries_;
    std::size_t moves_ = 0;
};

}  // namespace hosted
