// The walk of the 95 family's live device tree: the subkeys of
// "Config Manager\Enum" under HKEY_DYN_DATA, one for each device present.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/registry.h"

namespace detect {

enum class WalkEnd {
    kNotOpened,  // "Config Manager\Enum" could not be opened
    kEnded,      // no device left, or one that could not be read
    kStopped,    // visit asked to stop
};

// Hands the "HardWareKey" of each device, in index order, to visit until
// visit returns true. The walk ends at the first device whose subkey cannot
// be enumerated or opened or whose value cannot be read with room bytes
// (names and values get the same room); the devices after it are not seen.
WalkEnd WalkConfigManagerDevices(platform::Registry& registry, std::uint32_t room,
                                 const std::function<bool(const std::string&)>& visit);

}  // namespace detect
