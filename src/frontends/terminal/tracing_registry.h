// A registry that passes every call on to another and writes down each open,
// value query and subkey enumeration with its result, naming keys by their
// full path, so that a detection can be retold as it happened.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace setup {

struct RegistryCall {
    enum Kind { kOpen, kQuery, kEnumerate } kind;
    std::string key;          // the opened key's full path, or the key that was read
    std::string name;         // value name; subkey name found; empty for an open
    std::uint32_t index = 0;  // enumerations: the index asked for
    std::uint32_t result = 0;
    std::uint32_t type = 0;          // queries that succeeded
    std::vector<std::uint8_t> data;  // queries that succeeded: the bytes stored
};

class TracingRegistry : public platform::Registry {
  public:
    explicit TracingRegistry(platform::Registry& inner) : inner_(inner) {}

    std::uint32_t RegOpenKeyExA(win::HKEY parent, const char* subKey, std::uint32_t access,
                                win::HKEY* result) override;
    std::uint32_t RegQueryValueExA(win::HKEY key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) override;
    std::uint32_t RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                std::uint32_t* size) override;
    std::uint32_t RegCloseKey(win::HKEY key) override;

    // The calls written down since the last take, in order.
    std::vector<RegistryCall> TakeCalls();

  private:
    std::string PathOf(win::HKEY key) const;

    platform::Registry& inner_;
    std::map<win::HKEY, std::string> openKeys_;
    std::vector<RegistryCall> calls_;
};

}  // namespace setup
