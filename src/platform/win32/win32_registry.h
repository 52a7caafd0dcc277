// The live registry of the running Windows, read only.
#pragma once

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry final : public Registry {
  public:
    std::uint32_t RegOpenKeyExA(win::HKEY parent, const char* subKey, std::uint32_t access,
                                win::HKEY* result) override;
    std::uint32_t RegQueryValueExA(win::HKEY key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) override;
    std::uint32_t RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                std::uint32_t* size) override;
    std::uint32_t RegCloseKey(win::HKEY key) override;
};

}  // namespace platform::win32
