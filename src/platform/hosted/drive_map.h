// The drive letters of a simulated Windows machine, each a folder of the
// host, and the resolution of Windows paths to host paths under them.
//
// A Windows path ("E:\HelpFiles\Stash.hlp", '/' separates too) is resolved
// the way a Windows volume finds names: "." is dropped, ".." never climbs
// above the drive's root, names holding characters Windows refuses are
// refused, and an existing entry is found whatever its letter case while a
// new name keeps its own. Nothing resolved from a drive path lies outside
// the drive's folder: a symbolic link whose target lies outside is not
// followed. Besides the drives, single files are mapped by their exact path
// (the running installer's own file). Nothing else of the host is reachable:
// not a host path, a network path, a relative path, nor a drive that is not
// mapped.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "platform/hosted/folder_index.h"

namespace hosted {

// Whether the last name of a path is followed when it is a symbolic link.
// Calls that act on an entry itself (attributes, delete, remove, create)
// keep it; calls that open the entry's content follow it.
enum class LastLink { Follow, Keep };

struct HostPath {
    std::string path;
    bool isDriveRoot = false;
};

class DriveMap {
  public:
    // Maps a letter (either case) to an existing host folder; false when the
    // letter is not A to Z or the folder does not exist.
    bool Map(char letter, const std::string& hostFolder);
    void Unmap(char letter);
    // Makes the host file reachable under exactly the path given (compared
    // byte for byte); false when it is no regular file.
    bool MapFile(const std::string& path, const std::string& hostFile);
    // Bit n set for each mapped letter 'A' + n.
    std::uint32_t MappedLetters() const;

    // 0 with the host path in result, or the Windows error code:
    // kErrorPathNotFound for an unmapped drive, a network path or a path
    // without a drive; kErrorInvalidName for a refused name, in the drive's
    // place too;
    // kErrorAccessDenied for a link that leads outside the drive.
    std::uint32_t Resolve(const std::string& path, LastLink lastLink, HostPath& result) const;

    // Tell the resolution that the machine made or removed the entry at a
    // host path that Resolve gave, so that it need not list the folder again.
    void Added(const std::string& hostPath) const;
    void Removed(const std::string& hostPath) const;
    // How many times a host folder was listed to find a name.
    std::size_t FolderListings() const { return index_.Listings(); }

  private:
    std::array<std::string, 26> roots_;
    // A cache of what the folders hold; it changes no answer.
    mutable FolderIndex index_;
    std::map<std::string, std::string> files_;
};

}  // namespace hosted
