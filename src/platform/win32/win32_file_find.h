// The folder search over FindFirstFileA and FindNextFileA.
#pragma once

#include <memory>

#include "platform/file_system.h"

namespace platform::win32 {

std::unique_ptr<FileFind> NewWin32FileFind();

}  // namespace platform::win32
