// Names compared as a Windows volume compares them: without regard to the
// case of the letters A to Z.
#pragma once

#include <string>

namespace hosted {

bool SameIgnoringCase(const std::string& a, const std::string& b);

// Orders names without regard to case, then by their bytes, so that names
// differing only in case still have a fixed order.
bool LessIgnoringCase(const std::string& a, const std::string& b);

}  // namespace hosted
