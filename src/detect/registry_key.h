// An open registry key that is closed when it goes out of scope, so that no
// path through the detection leaves a key open.
#pragma once

#include <cstdint>

#include "platform/registry.h"

namespace detect {

class RegistryKey {
  public:
    explicit RegistryKey(platform::Registry& registry) : registry_(registry) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // RegOpenKeyExA below parent; the Windows result.
    std::uint32_t Open(win::HKEY parent, const char* subKey, std::uint32_t access) {
        Close();
        const std::uint32_t result = registry_.RegOpenKeyExA(parent, subKey, access, &key_);
        open_ = result == win::kErrorSuccess;
        return result;
    }

    void Close() {
        if (open_) {
            registry_.RegCloseKey(key_);
            open_ = false;
        }
    }

    bool IsOpen() const { return open_; }
    win::HKEY Handle() const { return key_; }
    platform::Registry& Registry() const { return registry_; }

  private:
    platform::Registry& registry_;
    win::HKEY key_ = 0;
    bool open_ = false;
};

}  // namespace detect
