// Runs a hosted installer as a person at a terminal would, but with scripted
// input, and collects what it shows.
#pragma once

#include <string>
#include <vector>

#include "setup_run.h"

namespace setuptest {

// The program with the arguments, its standard input the given text.
Run RunSession(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& input);

// The host folder of a TempFolder.
std::string FolderOf(const TempFolder& folder);

}  // namespace setuptest
