// The application's title, the caption of its message boxes. The application
// has no name of its own, so its title is the executable's file name without
// folder and extension, as the framework makes it.
#pragma once

#include <string>

namespace wizard {

std::string ApplicationTitle(const std::string& modulePath);

}  // namespace wizard
