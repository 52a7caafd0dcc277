// Windows error codes for the failures of host calls, and the texts that
// Windows gives for those codes.
#pragma once

#include <cstdint>
#include <string>

namespace hosted {

// What a failing call was about, where errno alone does not tell the codes
// apart: a missing entry is a missing file (2) when its folder exists and a
// missing path (3) when it does not; an existing entry met while creating a
// file is "file exists" (80), while creating a folder "already exists" (183).
enum class Creating { File, Folder };

std::uint32_t WinErrorFromErrno(int error, bool parentExists, Creating creating = Creating::File);

// As above, with parentExists asked of the host folder that holds hostPath.
std::uint32_t WinErrorAfterHostCall(int error, const std::string& hostPath,
                                    Creating creating = Creating::File);

// The system's English message for a code, ending in "\r\n", or an empty
// text for a code it does not know.
std::string SystemMessageText(std::uint32_t code);

}  // namespace hosted
