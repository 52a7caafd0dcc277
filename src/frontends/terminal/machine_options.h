// The command-line options that describe the simulated machine.
#pragma once

#include <CLI/CLI.hpp>

#include "simulated_machine.h"

namespace setup {

// Adds --registry, --family, --drive, --cwd, --no-cwd and --cwd-error to
// app; parsing them fills description.
void AddMachineOptions(CLI::App& app, MachineDescription& description);

}  // namespace setup
