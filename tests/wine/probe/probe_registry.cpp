#include <string>

#include "probe_checks.h"

namespace probe {
namespace {

constexpr char kDiskEnum[] = "System\\CurrentControlSet\\Services\\Disk\\Enum";
constexpr char kDiskEntry[] = "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim&Rev_1.00\\7&1a2b3c4d&0";
constexpr char kMountText[] =
    "\\??\\STORAGE#RemovableMedia#8&3f2e1d0c&0&RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}";
constexpr char kSlimHardwareKey[] = "USB\\VID_3107&PID_9340\\0001";

std::string ReadString(platform::Registry& registry, win::HKEY key, const char* name) {
    std::uint8_t data[1024] = {};
    std::uint32_t size = sizeof data;
    if (registry.RegQueryValueExA(key, name, nullptr, data, &size) != win::kErrorSuccess) {
        return "<unreadable>";
    }
    return reinterpret_cast<const char*>(data);
}

void CheckValues(platform::Registry& registry, Report& report) {
    win::HKEY key = 0;
    std::uint32_t opened = registry.RegOpenKeyExA(win::kHkeyLocalMachine,
                                                  "system\\currentcontrolset\\services\\DISK\\enum",
                                                  win::kKeyRead, &key);
    report.Expect("RegOpenKeyExA opens several levels, in any letter case",
                  opened == win::kErrorSuccess, std::to_string(opened));
    if (opened != win::kErrorSuccess) {
        return;
    }
    std::uint8_t count[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof count;
    std::uint32_t status = registry.RegQueryValueExA(key, "Count", &type, count, &size);
    report.Expect("RegQueryValueExA reads a DWORD",
                  status == win::kErrorSuccess && type == 4 && size == 4 && count[0] == 1,
                  std::to_string(status) + " type " + std::to_string(type));

    report.Expect("RegQueryValueExA reads a string", ReadString(registry, key, "0") == kDiskEntry,
                  ReadString(registry, key, "0"));

    std::uint8_t small[4] = {};
    size = sizeof small;
    status = registry.RegQueryValueExA(key, "0", nullptr, small, &size);
    report.Expect("RegQueryValueExA with too little room: more data, and the room needed",
                  status == win::kErrorMoreData && size == sizeof kDiskEntry,
                  std::to_string(status) + " size " + std::to_string(size));

    size = sizeof small;
    status = registry.RegQueryValueExA(key, "Missing", nullptr, small, &size);
    report.Expect("RegQueryValueExA of a missing value: file not found",
                  status == win::kErrorFileNotFound, std::to_string(status));
    report.Expect("RegCloseKey", registry.RegCloseKey(key) == win::kErrorSuccess);

    status =
        registry.RegOpenKeyExA(win::kHkeyLocalMachine, "System\\NoSuchKey", win::kKeyRead, &key);
    report.Expect("RegOpenKeyExA of a missing key: file not found",
                  status == win::kErrorFileNotFound, std::to_string(status));
}

void CheckEnumeration(platform::Registry& registry, Report& report) {
    win::HKEY key = 0;
    if (registry.RegOpenKeyExA(win::kHkeyLocalMachine, "System\\CurrentControlSet\\Enum\\USBSTOR",
                               win::kKeyRead, &key) != win::kErrorSuccess) {
        report.Expect("RegOpenKeyExA of Enum\\USBSTOR", false, "not opened");
        return;
    }
    char name[win::kMaxPath] = {};
    std::uint32_t size = sizeof name;
    std::uint32_t first = registry.RegEnumKeyExA(key, 0, name, &size);
    report.Expect("RegEnumKeyExA gives the first subkey and its length",
                  first == win::kErrorSuccess &&
                      std::string(name) == "Disk&Ven_Norvask&Prod_Rovane_Slim&Rev_1.00" &&
                      size == std::string(name).size(),
                  std::to_string(first) + " " + name);
    size = 4;
    std::uint32_t cramped = registry.RegEnumKeyExA(key, 0, name, &size);
    report.Expect("RegEnumKeyExA with too little room: more data", cramped == win::kErrorMoreData,
                  std::to_string(cramped));
    size = sizeof name;
    std::uint32_t end = registry.RegEnumKeyExA(key, 1, name, &size);
    report.Expect("RegEnumKeyExA past the last subkey: no more items",
                  end == win::kErrorNoMoreItems, std::to_string(end));
    registry.RegCloseKey(key);
}

void CheckMountTable(platform::Registry& registry, platform::System& system,
                     const Expectations& expected, Report& report) {
    win::HKEY key = 0;
    if (registry.RegOpenKeyExA(win::kHkeyLocalMachine, "System\\MountedDevices", win::kKeyRead,
                               &key) != win::kErrorSuccess) {
        report.Expect("RegOpenKeyExA of System\\MountedDevices", false, "not opened");
        return;
    }
    std::string valueName = std::string("\\DosDevices\\") + expected.driveLetter + ":";
    std::uint16_t wide[win::kMaxPath] = {};
    std::uint32_t size = sizeof wide;
    std::uint32_t status = registry.RegQueryValueExA(key, valueName.c_str(), nullptr,
                                                     reinterpret_cast<std::uint8_t*>(wide), &size);
    char text[win::kMaxPath] = {};
    int converted = system.WideCharToMultiByte(wide, static_cast<int>(size / 2), text, sizeof text);
    report.Expect("the imported mount target of " + valueName + " survives the mount manager",
                  status == win::kErrorSuccess && std::string(text, converted) == kMountText,
                  std::to_string(status) + " " + std::string(text, converted));
    registry.RegCloseKey(key);
}

// The 95 family's view of the plugged-in devices, and the drive letter that
// its disk got.
void CheckDynamicData(platform::Registry& registry, const Expectations& expected, Report& report) {
    win::HKEY key = 0;
    std::uint32_t status =
        registry.RegOpenKeyExA(win::kHkeyDynData, "Config Manager\\Enum", win::kKeyRead, &key);
    report.Expect("RegOpenKeyExA of HKEY_DYN_DATA\\Config Manager\\Enum",
                  status == win::kErrorSuccess, std::to_string(status));
    if (status != win::kErrorSuccess) {
        return;
    }
    std::string found;
    char name[win::kMaxPath];
    std::uint32_t size = sizeof name;
    for (std::uint32_t index = 0;
         registry.RegEnumKeyExA(key, index, name, &size) == win::kErrorSuccess;
         ++index, size = sizeof name) {
        win::HKEY device = 0;
        if (registry.RegOpenKeyExA(key, name, win::kKeyRead, &device) == win::kErrorSuccess) {
            if (ReadString(registry, device, "HardWareKey") == kSlimHardwareKey) {
                found = name;
            }
            registry.RegCloseKey(device);
        }
    }
    registry.RegCloseKey(key);
    report.Expect("HKEY_DYN_DATA lists the imported device", found == "C29A3B40", found);

    status = registry.RegOpenKeyExA(win::kHkeyLocalMachine,
                                    "Enum\\SCSI\\NORVASK_ROVANE_SLIM_____0\\0001",
                                    win::kKeyQueryValue, &key);
    std::string letter = status == win::kErrorSuccess
                             ? ReadString(registry, key, "CurrentDriveLetterAssignment")
                             : std::to_string(status);
    report.Expect("CurrentDriveLetterAssignment read with KEY_QUERY_VALUE",
                  letter == std::string(1, expected.driveLetter), letter);
    if (status == win::kErrorSuccess) {
        registry.RegCloseKey(key);
    }
}

}  // namespace

void CheckRegistry(platform::Registry& registry, platform::System& system,
                   const Expectations& expected, Report& report) {
    CheckValues(registry, report);
    CheckEnumeration(registry, report);
    CheckMountTable(registry, system, expected, report);
    CheckDynamicData(registry, expected, report);
}

}  // namespace probe
