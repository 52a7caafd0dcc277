// The shell's view of a path's root, by syntax alone: nothing here looks at
// a disk, so machines of any kind can share it.
#pragma once

#include <string>

namespace platform {

// True when the path begins with two backslashes (a network path).
bool PathIsUNCA(const std::string& path);

// The part of the path after its root: "E:\A\B" gives "A\B", "E:\" gives ""
// and "\\server\share\x" gives "x". False when the path has no root that the
// shell recognises (no drive and backslash, or a network path without its
// share and the backslash after it).
bool PathSkipRootA(const std::string& path, std::string& rest);

}  // namespace platform
