// The names in host folders, found without regard to letter case in time
// that does not grow with the folder: a name that is there as it is written
// is found at once; otherwise the folder is listed, once, and again only
// when its modification time (or identity) changes; the changes that the
// machine makes itself are noted without a listing.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <set>
#include <string>
#include <unordered_map>

namespace hosted {

class FolderIndex {
  public:
    // The entry of the folder that the name stands for: the name itself
    // when an entry has exactly that name or none matches, else the first
    // (in byte order) whose name matches without regard to case.
    std::string Find(const std::string& folder, const std::string& name);
    // Notes that the machine made or removed the entry at the host path.
    void Added(const std::string& path);
    void Removed(const std::string& path);
    // How many times a folder was listed.
    std::size_t Listings() const { return listings_; }

  private:
    struct Folder {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        // Entry names by their upper-case form.
        std::unordered_map<std::string, std::set<std::string>> byUpper;
    };

    // The folder's index, listed again when it is out of date; null when
    // the folder cannot be read.
    Folder* Current(const std::string& folder);
    void Note(const std::string& path, bool added);

    std::unordered_map<std::string, Folder> folders_;
    std::size_t listings_ = 0;
};

}  // namespace hosted
