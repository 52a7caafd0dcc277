// What a drive of the machine holds, as the installer's file calls see it:
// every folder and file with its size and Windows attributes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"

namespace setup {

// One line per entry, folders before what they hold, in the order of the
// folder search:
//   "      <DIR>  D     (0x10)  E:\HelpFiles\"
//   "        147  A     (0x20)  E:\HelpFiles\Stash.hlp"
// An empty drive gives "(empty)"; a drive that cannot be searched, an error
// line.
std::string DriveTree(platform::FileSystem& files, char letter);

// "RHSDA"-style letters of the bits that are set: "R", "H", "S", "D", "A",
// or "N" for a normal entry.
std::string AttributeLetters(std::uint32_t attributes);

}  // namespace setup
