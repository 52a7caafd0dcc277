// The seam probe's checks of what only Windows has.
#pragma once

#include "contract.h"
#include "platform/user_interface.h"

namespace probe {

inline constexpr char kTitle[] = "Seam Probe";

// Makes the folder (which must not exist) and removes it again.
void CheckWindowsOnly(contract::Checks& checks, contract::Seam& seam, platform::UserInterface& ui,
                      const std::string& folder);

}  // namespace probe
