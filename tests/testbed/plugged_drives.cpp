#include "testbed/plugged_drives.h"

#include <cstdio>
#include <vector>

namespace testbed {

namespace {

constexpr win::HKEY kHklm = win::kHkeyLocalMachine;
constexpr const char* kUsbStorageList = "System\\CurrentControlSet\\Services\\USBSTOR\\Enum";
constexpr const char* kDiskList = "System\\CurrentControlSet\\Services\\Disk\\Enum";
constexpr const char* kDevices9x = "Config Manager\\Enum";

std::uint32_t ReadCount(hosted::MemoryRegistry& reg, const std::string& listKey) {
    win::HKEY key = 0;
    std::uint32_t count = 0;
    if (reg.RegOpenKeyExA(kHklm, listKey.c_str(), win::kKeyRead, &key) == win::kErrorSuccess) {
        std::uint32_t size = sizeof count;
        reg.RegQueryValueExA(key, "Count", nullptr, reinterpret_cast<std::uint8_t*>(&count), &size);
        reg.RegCloseKey(key);
    }
    return count;
}

std::uint32_t CountDevices9x(hosted::MemoryRegistry& reg) {
    win::HKEY key = 0;
    std::uint32_t count = 0;
    if (reg.RegOpenKeyExA(win::kHkeyDynData, kDevices9x, win::kKeyRead, &key) ==
        win::kErrorSuccess) {
        char name[win::kMaxPath];
        std::uint32_t size = sizeof name;
        while (reg.RegEnumKeyExA(key, count, name, &size) == win::kErrorSuccess) {
            ++count;
            size = sizeof name;
        }
        reg.RegCloseKey(key);
    }
    return count;
}

// A serial number that tells the drives of one machine apart.
std::string Serial(std::uint32_t index) {
    char serial[16];
    std::snprintf(serial, sizeof serial, "0710%08X", 0x5A3C0000u + index);
    return serial;
}

}  // namespace

std::uint32_t DriveBit(char letter) {
    return 1u << (letter - 'A');
}

void AppendEntry(hosted::MemoryRegistry& reg, const std::string& listKey, const std::string& text) {
    const std::uint32_t count = ReadCount(reg, listKey);
    reg.SetString(kHklm, listKey, std::to_string(count), text);
    reg.SetDword(kHklm, listKey, "Count", count + 1);
}

std::string MountTarget(const std::string& parentIdPrefix) {
    return "\\??\\STORAGE#RemovableMedia#" + parentIdPrefix +
           "&RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}";
}

void SetMount(hosted::MemoryRegistry& reg, char letter, const std::string& target) {
    std::vector<std::uint8_t> utf16;
    for (char c : target) {
        utf16.push_back(static_cast<std::uint8_t>(c));
        utf16.push_back(0);
    }
    reg.SetValue(kHklm, "System\\MountedDevices", std::string("\\DosDevices\\") + letter + ":",
                 hosted::kRegBinary, std::move(utf16));
}

std::string AddNtDrive(hosted::MemoryRegistry& reg, const std::string& usbId,
                       const std::string& diskPrefix, const std::string& parentIdPrefix,
                       char letter) {
    const std::string serial = Serial(ReadCount(reg, kUsbStorageList));
    AppendEntry(reg, kUsbStorageList, usbId + "\\" + serial);
    const std::string disk = diskPrefix + "&Rev_1.00\\" + serial + "&0";
    AppendEntry(reg, kDiskList, disk);
    reg.SetString(kHklm, "System\\CurrentControlSet\\Enum\\" + disk, "ParentIdPrefix",
                  parentIdPrefix);
    if (letter != 0) {
        SetMount(reg, letter, MountTarget(parentIdPrefix));
    }
    return disk;
}

void AddDevice9x(hosted::MemoryRegistry& reg, const std::string& hardwareKey) {
    char name[16];
    std::snprintf(name, sizeof name, "C%07X", 0x29A000u + CountDevices9x(reg));
    reg.SetString(win::kHkeyDynData, std::string(kDevices9x) + "\\" + name, "HardWareKey",
                  hardwareKey);
}

std::string AddDrive9x(hosted::MemoryRegistry& reg, const std::string& usbId,
                       const std::string& diskKey, char letter) {
    const std::string serial = Serial(CountDevices9x(reg));
    AddDevice9x(reg, usbId + "\\" + serial);
    const std::string disk = diskKey + "\\" + serial;
    AddDevice9x(reg, disk);
    if (letter != 0) {
        reg.SetString(kHklm, "Enum\\" + disk, "CurrentDriveLetterAssignment",
                      std::string(1, letter));
    }
    return disk;
}

void RecordDrive(TestMachine& machine, const DriveModel& model, char letter) {
    if (machine.facts().platformId == win::kVerPlatformWin32Nt) {
        char parentIdPrefix[16];
        std::snprintf(parentIdPrefix, sizeof parentIdPrefix, "7&%08x&0",
                      0x2f5e8a1cu + ReadCount(machine.registryData, kUsbStorageList));
        AddNtDrive(machine.registryData, model.usbId, model.diskNt, parentIdPrefix, letter);
    } else {
        AddDrive9x(machine.registryData, model.usbId, model.disk9x, letter);
    }
}

void PlugIn(TestMachine& machine, const DriveModel& model, char letter) {
    RecordDrive(machine, model, letter);
    if (letter != 0) {
        machine.AddDrive(letter);
    }
}

}  // namespace testbed
