#include "tracing_registry.h"

#include <algorithm>
#include <utility>

namespace setup {

std::string TracingRegistry::PathOf(win::HKEY key) const {
    if (key == win::kHkeyLocalMachine) {
        return "HKEY_LOCAL_MACHINE";
    }
    if (key == win::kHkeyDynData) {
        return "HKEY_DYN_DATA";
    }
    const auto open = openKeys_.find(key);
    return open != openKeys_.end() ? open->second : "(unknown key)";
}

std::uint32_t TracingRegistry::RegOpenKeyExA(win::HKEY parent, const char* subKey,
                                             std::uint32_t access, win::HKEY* result) {
    const std::uint32_t code = inner_.RegOpenKeyExA(parent, subKey, access, result);
    const std::string path = PathOf(parent) + "\\" + subKey;
    if (code == win::kErrorSuccess) {
        openKeys_[*result] = path;
    }
    calls_.push_back({RegistryCall::kOpen, path, "", 0, code, 0, {}});
    return code;
}

std::uint32_t TracingRegistry::RegQueryValueExA(win::HKEY key, const char* valueName,
                                                std::uint32_t* type, std::uint8_t* data,
                                                std::uint32_t* size) {
    std::uint32_t typeFound = 0;
    const std::uint32_t room = size != nullptr ? *size : 0;
    const std::uint32_t code = inner_.RegQueryValueExA(key, valueName, &typeFound, data, size);
    if (type != nullptr) {
        *type = typeFound;
    }
    RegistryCall call{RegistryCall::kQuery, PathOf(key), valueName, 0, code, 0, {}};
    if (code == win::kErrorSuccess && data != nullptr && size != nullptr) {
        call.type = typeFound;
        call.data.assign(data, data + std::min(*size, room));
    }
    calls_.push_back(std::move(call));
    return code;
}

std::uint32_t TracingRegistry::RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                             std::uint32_t* size) {
    const std::uint32_t code = inner_.RegEnumKeyExA(key, index, name, size);
    calls_.push_back({RegistryCall::kEnumerate,
                      PathOf(key),
                      code == win::kErrorSuccess ? std::string(name, *size) : "",
                      index,
                      code,
                      0,
                      {}});
    return code;
}

std::uint32_t TracingRegistry::RegCloseKey(win::HKEY key) {
    openKeys_.erase(key);
    return inner_.RegCloseKey(key);
}

std::vector<RegistryCall> TracingRegistry::TakeCalls() {
    return std::exchange(calls_, {});
}

}  // namespace setup
