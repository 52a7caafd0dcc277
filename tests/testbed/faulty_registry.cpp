#include "testbed/faulty_registry.h"

namespace testbed {

FaultyRegistry::FaultyRegistry(platform::Registry& inner, FaultPlan& faults)
    : inner_(inner), faults_(faults) {}

std::uint32_t FaultyRegistry::RegOpenKeyExA(win::HKEY parent, const char* subKey,
                                            std::uint32_t access, win::HKEY* result) {
    std::uint32_t error = 0;
    if (faults_.ShouldFail(Call::RegOpenKey, error)) {
        return error;
    }
    return inner_.RegOpenKeyExA(parent, subKey, access, result);
}

std::uint32_t FaultyRegistry::RegQueryValueExA(win::HKEY key, const char* valueName,
                                               std::uint32_t* type, std::uint8_t* data,
                                               std::uint32_t* size) {
    std::uint32_t error = 0;
    if (faults_.ShouldFail(Call::RegQueryValue, error)) {
        return error;
    }
    return inner_.RegQueryValueExA(key, valueName, type, data, size);
}

std::uint32_t FaultyRegistry::RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                            std::uint32_t* size) {
    std::uint32_t error = 0;
    if (faults_.ShouldFail(Call::RegEnumKey, error)) {
        return error;
    }
    return inner_.RegEnumKeyExA(key, index, name, size);
}

// Closing is never failed, so that a test can always tell a key left open.
std::uint32_t FaultyRegistry::RegCloseKey(win::HKEY key) {
    return inner_.RegCloseKey(key);
}

}  // namespace testbed
