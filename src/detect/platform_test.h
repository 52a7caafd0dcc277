// Which family of Windows runs the installer.
#pragma once

#include "platform/system.h"

namespace detect {

// True on the NT family; asks the system on every call.
bool IsNtPlatform(platform::System& system);

}  // namespace detect
