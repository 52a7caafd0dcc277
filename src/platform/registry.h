// The registry, read only, with the four calls of the Win32 API. Results are
// Windows error codes: 0 on success, win::kErrorFileNotFound for a missing
// key or value, win::kErrorMoreData when the data or name does not fit,
// win::kErrorNoMoreItems at the end of an enumeration.
#pragma once

#include <cstdint>

#include "platform/win_constants.h"

namespace platform {

class Registry {
  public:
    virtual ~Registry() = default;

    // RegOpenKeyExA(parent, subKey, 0, access, &result). Key names are
    // matched without regard to letter case; subKey may hold several levels
    // separated by backslashes.
    virtual std::uint32_t RegOpenKeyExA(win::HKEY parent, const char* subKey, std::uint32_t access,
                                        win::HKEY* result) = 0;
    // RegQueryValueExA(key, name, NULL, type, data, size). On entry *size is
    // the room in data; on success it is the count of bytes stored. With too
    // little room: kErrorMoreData, *size set to the room needed. type and
    // data may be null.
    virtual std::uint32_t RegQueryValueExA(win::HKEY key, const char* valueName,
                                           std::uint32_t* type, std::uint8_t* data,
                                           std::uint32_t* size) = 0;
    // RegEnumKeyExA(key, index, name, size, NULL, NULL, NULL, NULL). On entry
    // *size is the room in name (characters, terminator included); on success
    // it is the name's length without the terminator. Subkeys come sorted
    // without regard to letter case, as Windows gives them.
    virtual std::uint32_t RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                        std::uint32_t* size) = 0;
    virtual std::uint32_t RegCloseKey(win::HKEY key) = 0;
};

}  // namespace platform
