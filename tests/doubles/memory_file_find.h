// The folder search of the in-memory volumes. It lists what the folder
// holds when the search starts: "." and ".." first (except at a drive's
// root), then the names that match the pattern, in the order of their
// upper-case form.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "doubles/memory_volume.h"

namespace doubles {

class MemoryFileSystem::Search : public platform::FileFind {
  public:
    explicit Search(MemoryFileSystem& files) : files_(files) {}

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
    MemoryFileSystem& files_;
    std::shared_ptr<Drive> drive_;
    std::string root_;  // the pattern's folder, without a final backslash
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
    const Entry* current_ = nullptr;
    bool open_ = false;
    bool more_ = false;

    void List(const Node& folder, const std::string& pattern);
};

}  // namespace doubles
