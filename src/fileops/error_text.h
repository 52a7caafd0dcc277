// The system's text for the last error.
#pragma once

#include <string>

#include "platform/system.h"

namespace fileops {

std::string GetLastErrorText(platform::System& system);

}  // namespace fileops
