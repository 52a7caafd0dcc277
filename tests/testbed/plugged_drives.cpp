#include "testbed/plugged_drives.h"

#include <cstdio>

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
        for (std::uint32_t size = sizeof name;
             reg.RegEnumKeyExA(key, count, name, &size) == win::kErrorSuccess; size = sizeof name) {
            ++count;
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

// Adds text as the next numbered entry ("0", "1", ...) of a list key and
// raises its "Count".
void AppendEntry(hosted::MemoryRegistry& reg, const std::string& listKey, const std::string& text) {
    const std::uint32_t count = ReadCount(reg, listKey);
    reg.SetString(kHklm, listKey, std::to_string(count), text);
    reg.SetDword(kHklm, listKey, "Count", count + 1);
}

// The USB device "<usbId>\<serial>" under the USB storage service, its disk
// "<diskNt>&Rev_1.00\<serial>&0" under the disk service with a
// ParentIdPrefix, and the volume mounted (as UTF-16) at letter.
void RecordNt(hosted::MemoryRegistry& reg, const DriveModel& model, char letter) {
    const std::uint32_t index = ReadCount(reg, kUsbStorageList);
    char parentIdPrefix[16];
    std::snprintf(parentIdPrefix, sizeof parentIdPrefix, "7&%08x&0", 0x2f5e8a1cu + index);
    AppendEntry(reg, kUsbStorageList, std::string(model.usbId) + "\\" + Serial(index));
    const std::string disk = std::string(model.diskNt) + "&Rev_1.00\\" + Serial(index) + "&0";
    AppendEntry(reg, kDiskList, disk);
    reg.SetString(kHklm, "System\\CurrentControlSet\\Enum\\" + disk, "ParentIdPrefix",
                  parentIdPrefix);
    if (letter != 0) {
        std::vector<std::uint8_t> utf16;
        for (char c : "\\??\\STORAGE#RemovableMedia#" + std::string(parentIdPrefix) +
                          "&RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}") {
            utf16.insert(utf16.end(), {static_cast<std::uint8_t>(c), 0});
        }
        reg.SetValue(kHklm, "System\\MountedDevices", std::string("\\DosDevices\\") + letter + ":",
                     hosted::kRegBinary, std::move(utf16));
    }
}

// The USB device "<usbId>\<serial>" and its disk "<disk9x>\<serial>" with
// "CurrentDriveLetterAssignment" letter.
void Record9x(hosted::MemoryRegistry& reg, const DriveModel& model, char letter) {
    const std::string serial = Serial(CountDevices9x(reg));
    AddDevice9x(reg, std::string(model.usbId) + "\\" + serial);
    const std::string disk = std::string(model.disk9x) + "\\" + serial;
    AddDevice9x(reg, disk);
    if (letter != 0) {
        reg.SetString(kHklm, "Enum\\" + disk, "CurrentDriveLetterAssignment",
                      std::string(1, letter));
    }
}

}  // namespace

void AddDevice9x(hosted::MemoryRegistry& reg, const std::string& hardwareKey) {
    char name[16];
    std::snprintf(name, sizeof name, "C%07X", 0x29A000u + CountDevices9x(reg));
    reg.SetString(win::kHkeyDynData, std::string(kDevices9x) + "\\" + name, "HardWareKey",
                  hardwareKey);
}

void RecordDrive(TestMachine& machine, const DriveModel& model, char letter) {
    if (machine.facts().platformId == win::kVerPlatformWin32Nt) {
        RecordNt(machine.registryData, model, letter);
    } else {
        Record9x(machine.registryData, model, letter);
    }
}

void PlugIn(TestMachine& machine, const DriveModel& model, char letter) {
    RecordDrive(machine, model, letter);
    if (letter != 0) {
        machine.AddDrive(letter);
    }
}

void DriveBay::Plug(const DriveModel& model, char letter) {
    plugged_.push_back({model, letter});
    PlugIn(machine_, model, letter);
}

void DriveBay::Pull(char letter) {
    std::erase_if(plugged_, [letter](const Plugged& drive) { return drive.letter == letter; });
    machine_.PullDrive(letter);
    // Windows forgets the device: the others are recorded again as they were,
    // on the volumes they have.
    machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "System");
    machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "Enum");
    machine_.registryData.DeleteKey(win::kHkeyDynData, "Config Manager");
    for (const Plugged& drive : plugged_) {
        RecordDrive(machine_, drive.model, drive.letter);
    }
}

}  // namespace testbed
