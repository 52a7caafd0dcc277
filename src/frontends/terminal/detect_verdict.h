// What drive detection finds on a machine, as one line of text.
#pragma once

#include <string>

#include "platform/platform.h"

namespace setup {

// "drive=E variant=1 mix=2", or "drive=none variant=-1 mix=0": the letter
// DetectSupportedDrive returns (as its decimal byte value when it is not a
// printable character), the variant and the machine's DriveMix.
std::string DetectVerdict(platform::Platform& os);

}  // namespace setup
