// Windows file attributes of host entries.
//
// Read-only is the absence of the owner's write permission. Hidden, system
// and archive live in the extended attribute "user.DOSATTRIB" as the text
// "0x%x", where other programs that run Windows software on a Unix host
// keep them too. A folder has the directory bit, an entry with no other bit
// is normal (0x80), and a symbolic link is a reparse point (with the
// directory bit when it leads to a folder) that is never followed.
#pragma once

#include <cstdint>
#include <string>

namespace hosted {

inline constexpr char kDosAttributeName[] = "user.DOSATTRIB";

// The attribute bits, or kInvalidFileAttributes with errno set.
std::uint32_t ReadAttributes(const std::string& hostPath);

// Stores read-only, hidden, system and archive as given (every other bit is
// ignored, so 0x80 alone clears them all). 0 or a Windows error code; when
// the host cannot keep extended attributes, asking for hidden, system or
// archive fails with kErrorNotSupported and nothing is changed.
std::uint32_t WriteAttributes(const std::string& hostPath, std::uint32_t attributes);

}  // namespace hosted
