// The drive letter of a supported disk on the 95 family, from the live
// device tree.
#pragma once

#include <cstdint>

#include "detect/detection_observer.h"
#include "platform/registry.h"

namespace detect {

// When a device whose hardware key begins with usbId (without regard to
// letter case) is present, the first byte of the "CurrentDriveLetterAssignment"
// of the first device whose hardware key begins with scsiId less its last
// character (with regard to case), as stored; else 0. The disk found need
// not belong to the USB device found.
std::uint8_t GetDriveLetter9x(platform::Registry& registry, const char* usbId, const char* scsiId);
// The same letter, or why there is none.
LetterLookup LookUpLetter9x(platform::Registry& registry, const char* usbId, const char* scsiId);

}  // namespace detect
