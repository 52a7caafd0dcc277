// Commands typed at the installer's page that change the machine under it,
// as when a person plugs in or pulls out a drive while the page shows:
//   registry FILE...   the registry now holds what the .reg files hold
//                      (loaded in order; the names hold no blanks)
#pragma once

#include <string>

#include "console.h"
#include "simulated_machine.h"

namespace setup {

// True when the line is such a command: it was carried out, or refused with
// the reason on the console and the machine unchanged.
bool RunMachineCommand(SimulatedMachine& machine, Console& console, const std::string& line);

}  // namespace setup
