// Windows paths as a volume reads them, by syntax alone: the drive, the
// names with "." dropped and ".." never climbing above the root, names that
// Windows refuses, and the names a search pattern matches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace doubles {

struct WindowsPath {
    char drive = 0;         // upper case
    std::string driveText;  // "E:" as written
    std::vector<std::string> names;
    bool trailingSeparator = false;

    // 0, or the error of a path that Windows refuses: ERROR_PATH_NOT_FOUND
    // without a drive letter and colon, ERROR_INVALID_NAME for a refused
    // character (the wildcards * and ? are allowed in the last name of a
    // search pattern).
    std::uint32_t Parse(const std::string& path, bool wildcardsInLast = false);
};

// The key under which a volume finds a name whatever its letter case.
std::string NameKey(const std::string& name);

// Matching of a search pattern's last name, without regard to case; "*.*"
// matches every name, also one without a dot.
bool MatchesPattern(const std::string& pattern, const std::string& name);

}  // namespace doubles
