// The drive letter of a supported disk on the NT family: the disk service's
// list gives the disk's instance, the instance its "ParentIdPrefix", and the
// mount table the letter whose volume carries that prefix.
#pragma once

#include <cstdint>
#include <string>

#include "detect/detection_observer.h"
#include "platform/platform.h"

namespace detect {

// The index of the first disk listed under the disk service whose instance
// path begins with prefix (compared with regard to letter case), copying
// that path into out when out is not null; -1 when there is none. Entries
// too long for a path of 260 bytes are passed over.
int FindDiskEnumEntry(platform::Registry& registry, std::string* out, const char* prefix);

// The letter, 'C' to 'Z', of the volume of the first disk that begins with
// prefix; 0 when there is none.
std::uint8_t GetDriveLetterNt(platform::Platform& os, const char* prefix);
// The same letter, or why there is none.
LetterLookup LookUpLetterNt(platform::Platform& os, const char* prefix);

}  // namespace detect
