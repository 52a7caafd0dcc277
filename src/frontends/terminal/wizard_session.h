// The installer run in a terminal on a simulated machine: its message boxes
// on the console, its sheet drawn and driven there.
#pragma once

#include "console.h"
#include "simulated_machine.h"

namespace setup {

// Runs the installer as Windows would start it and returns its exit status,
// 0, once the sheet has closed. A fatal failure ends the process earlier,
// with status 0 as well.
int RunWizard(SimulatedMachine& machine, Console& console);

}  // namespace setup
