// A registry that passes every call to another one, failing those that the
// FaultPlan picks.
#pragma once

#include "platform/registry.h"
#include "testbed/fault_plan.h"

namespace testbed {

class FaultyRegistry : public platform::Registry {
  public:
    FaultyRegistry(platform::Registry& inner, FaultPlan& faults);

    std::uint32_t RegOpenKeyExA(win::HKEY parent, const char* subKey, std::uint32_t access,
                                win::HKEY* result) override;
    std::uint32_t RegQueryValueExA(win::HKEY key, const char* valueName, std::uint32_t* type,
                                   std::uint8_t* data, std::uint32_t* size) override;
    std::uint32_t RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                std::uint32_t* size) override;
    std::uint32_t RegCloseKey(win::HKEY key) override;

  private:
    platform::Registry& inner_;
    FaultPlan& faults_;
};

}  // namespace testbed
