// The letter of the drive that holds the current directory: detection
// prefers the supported drive that the installer was started from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/platform.h"

namespace detect {

// No drive letter: the current directory could not be read.
inline constexpr std::uint8_t kNoHomeLetter = 255;

// A zero-filled buffer of size bytes, or null when memory is short.
using BufferAllocator = std::unique_ptr<char[]> (*)(std::size_t size);
std::unique_ptr<char[]> AllocateZeroed(std::size_t size);

// The first character of the current directory, or kNoHomeLetter when it
// can be sized but not read. When it cannot even be sized, or no buffer can
// be had for it, the user is told why and the result is empty.
std::optional<std::uint8_t> ReadHomeLetter(platform::Platform& os,
                                           BufferAllocator allocate = AllocateZeroed);

}  // namespace detect
