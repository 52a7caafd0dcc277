// Deleting a file or a folder tree with the user's consent, reporting every
// failure in a message box of its own.
#pragma once

#include <string>

#include "platform/platform.h"

namespace fileops {

// 1 when the entry was deleted or the user declined a question; 0 after a
// failure that has been reported already.
int DeleteFileOrDirectory(platform::Platform& os, const std::string& path, int skipReadOnlyPrompt);
// 1 when the folder and everything in it are gone, else 0.
int DeleteDirectoryTree(platform::Platform& os, const std::string& path);
// 1 when the folder holds no entry besides "." and "..", else 0.
int IsDirectoryEmpty(platform::Platform& os, const std::string& path);
// 1 when the entry is not read-only (any more), 0 after a reported failure.
int ClearReadOnly(platform::Platform& os, const std::string& path);

}  // namespace fileops
