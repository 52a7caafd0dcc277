#include <cstring>
#include <tuple>

#include "contract.h"
#include "platform/win_constants.h"

namespace contract {
namespace {

// A value read asking for its size, then with one byte too little room and
// with just enough: "code type, code size, code size: data".
std::string Reading(platform::Registry& registry, win::HKEY key, const char* name) {
    std::uint32_t type = 0;
    std::uint32_t needed = 0;
    const std::uint32_t asked = registry.RegQueryValueExA(key, name, &type, nullptr, &needed);
    std::string seen = std::to_string(asked) + " " + std::to_string(type);
    std::string data(needed, '#');
    for (std::uint32_t room = needed - 1; asked == 0 && needed > 0 && room <= needed; ++room) {
        std::uint32_t size = room;
        seen +=
            ", " + std::to_string(registry.RegQueryValueExA(
                       key, name, nullptr, reinterpret_cast<std::uint8_t*>(data.data()), &size));
        seen += " " + std::to_string(size);
    }
    return asked == 0 ? seen + ": " + data : seen;
}

// The subkeys in the order of enumeration, each also enumerated with no room
// for its terminator; then the code that ended it.
std::string Subkeys(platform::Registry& registry, win::HKEY key) {
    std::string names;
    char name[win::kMaxPath];
    for (std::uint32_t index = 0, size = sizeof name;; ++index, size = sizeof name) {
        if (const std::uint32_t status = registry.RegEnumKeyExA(key, index, name, &size)) {
            return names + std::to_string(status);
        }
        names += name + std::string(size == std::strlen(name) ? "; " : "?; ");
        names += registry.RegEnumKeyExA(key, index, name, &size) == win::kErrorMoreData ? "" : "?";
    }
}

}  // namespace

void CheckRegistry(Checks& checks, Seam& seam, const Fixture& fixture) {
    const std::string drive(1, fixture.drive);
    const std::string nul(1, '\0');
    std::string mount;  // UTF-16LE
    for (const char c : std::string("\\??\\STORAGE#RemovableMedia#8&3f2e1d0c&0&RM#"
                                    "{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}")) {
        mount += c + nul;
    }
    const auto read = [](std::uint32_t type, const std::string& data) {
        const std::string size = std::to_string(data.size());
        return "0 " + std::to_string(type) + ", 234 " + size + ", 0 " + size + ": " + data;
    };
    const win::HKEY hklm = win::kHkeyLocalMachine;
    const std::string scsi = "Enum\\SCSI\\NORVASK_ROVANE_SLIM_____0\\0001";
    const std::tuple<win::HKEY, std::string, std::string, std::string> values[] = {
        {hklm, "system\\currentcontrolset\\services\\DISK\\enum", "Count",
         read(4, std::string("\1\0\0\0", 4))},
        {hklm, "System\\CurrentControlSet\\Services\\Disk\\Enum", "0",
         read(1, "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim&Rev_1.00\\7&1a2b3c4d&0" + nul)},
        {hklm, "System\\MountedDevices", "\\DosDevices\\" + drive + ":", read(3, mount)},
        {win::kHkeyDynData, "Config Manager\\Enum\\C29A3B40", "HardWareKey",
         read(1, "USB\\VID_3107&PID_9340\\0001" + nul)},
        {hklm, scsi, "CurrentDriveLetterAssignment", read(1, drive + nul)},
        {hklm, scsi, "Missing", "2 0"}};
    win::HKEY key = 0;
    for (const auto& [root, path, name, reading] : values) {
        CHECK_EQ(seam.registry.RegOpenKeyExA(root, path.c_str(), win::kKeyQueryValue, &key), 0);
        CHECK_EQ(Reading(seam.registry, key, name.c_str()), reading);
        CHECK_EQ(seam.registry.RegCloseKey(key), 0);
    }
    CHECK_EQ(seam.registry.RegOpenKeyExA(hklm, "System\\NoSuchKey", win::kKeyRead, &key), 2);
    const std::tuple<win::HKEY, const char*, const char*> lists[] = {
        {win::kHkeyDynData, "Config Manager\\Enum", "C29A3B40; C29A3B44; 259"},
        {hklm, "System\\CurrentControlSet\\Enum\\USBSTOR",
         "Disk&Ven_Norvask&Prod_Rovane_Slim&Rev_1.00; 259"},
        {hklm, "Software\\Contract\\Order", "alpha; Beta; GAMMA; 259"}};
    for (const auto& [root, path, names] : lists) {
        CHECK_EQ(seam.registry.RegOpenKeyExA(root, path, win::kKeyRead, &key), 0);
        CHECK_EQ(Subkeys(seam.registry, key), names);
        seam.registry.RegCloseKey(key);
    }
}

}  // namespace contract
