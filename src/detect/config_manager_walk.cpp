#include "detect/config_manager_walk.h"

#include <algorithm>
#include <vector>

#include "detect/registry_readers.h"

namespace detect {

WalkEnd WalkConfigManagerDevices(platform::Registry& registry, std::uint32_t room,
                                 const std::function<bool(const std::string&)>& visit) {
    RegistryKey devices(registry);
    if (devices.Open(win::kHkeyDynData, "Config Manager\\Enum", win::kKeyRead) !=
        win::kErrorSuccess) {
        return WalkEnd::kNotOpened;
    }
    std::vector<char> name(room);
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t size = room;
        if (registry.RegEnumKeyExA(devices.Handle(), index, name.data(), &size) !=
            win::kErrorSuccess) {
            return WalkEnd::kEnded;
        }
        const std::string subkey(name.begin(), std::find(name.begin(), name.end(), '\0'));
        std::string hardwareKey;
        {
            RegistryKey device(registry);
            if (device.Open(devices.Handle(), subkey.c_str(), win::kKeyRead) !=
                    win::kErrorSuccess ||
                QueryString(device, "HardWareKey", room, hardwareKey) != win::kErrorSuccess) {
                return WalkEnd::kEnded;
            }
        }
        if (visit(hardwareKey)) {
            return WalkEnd::kStopped;
        }
    }
}

}  // namespace detect
