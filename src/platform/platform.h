// The one seam through which the installer's logic reaches the operating
// system: Win32 on Windows, a simulated machine on Linux, doubles in tests.
#pragma once

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/user_interface.h"
#include "platform/win_constants.h"

namespace platform {

struct Platform {
    FileSystem& files;
    Registry& registry;
    System& system;
    UserInterface& ui;
};

}  // namespace platform
