// Supported drives plugged into a test machine: their registry entries as the
// machine's family of Windows records them, and their volumes.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "testbed/test_machine.h"

namespace testbed {

// A model of drive: the USB hardware ID it reports and its disk's IDs.
struct DriveModel {
    const char* usbId;
    const char* diskNt;
    const char* disk9x;
};
inline constexpr DriveModel kOrcaSlim{"USB\\VID_3107&PID_9340",
                                      "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim",
                                      "SCSI\\NORVASK_ROVANE_SLIM_____0"};
inline constexpr DriveModel kOrcaPrism{"USB\\Vid_3107&Pid_9341",
                                       "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Prism",
                                       "SCSI\\NORVASK_ROVANE_PRISM___X"};
inline constexpr DriveModel kKestrelGeneric{"USB\\Vid_3107&Pid_2611",
                                            "USBSTOR\\Disk&Ven_Generic&Prod_STORAGE_DEVICE",
                                            "SCSI\\GENERIC_STORAGE_DEVICE__1"};
inline constexpr DriveModel kKestrelPrism{"USB\\Vid_3107&Pid_2623", kOrcaPrism.diskNt,
                                          kOrcaPrism.disk9x};
// A drive of the third group: counted, never detected.
inline constexpr DriveModel kCountOnly{"USB\\VID_3107&PID_2619",
                                       "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Mini",
                                       "SCSI\\NORVASK_ROVANE_MINI____0"};

namespace plugged {

inline constexpr win::HKEY kHklm = win::kHkeyLocalMachine;
inline constexpr const char* kUsbStorageList = "System\\CurrentControlSet\\Services\\USBSTOR\\Enum";
inline constexpr const char* kDiskList = "System\\CurrentControlSet\\Services\\Disk\\Enum";
inline constexpr const char* kDevices9x = "Config Manager\\Enum";

// The "Count" of a list key of the NT services, or how many devices the 9x
// Config Manager lists (0 while the key is missing).
inline std::uint32_t Count(hosted::MemoryRegistry& reg, win::HKEY root, const char* listKey) {
    win::HKEY key = 0;
    std::uint32_t count = 0;
    if (reg.RegOpenKeyExA(root, listKey, win::kKeyRead, &key) != win::kErrorSuccess) {
        return 0;
    }
    std::uint32_t size = sizeof count;
    if (root == kHklm) {
        reg.RegQueryValueExA(key, "Count", nullptr, reinterpret_cast<std::uint8_t*>(&count), &size);
    }
    for (char name[win::kMaxPath];
         root != kHklm && (size = sizeof name, reg.RegEnumKeyExA(key, count, name, &size)) == 0;) {
        ++count;
    }
    reg.RegCloseKey(key);
    return count;
}

inline std::string Hex(const char* format, std::uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

}  // namespace plugged

// Adds a device present with this "HardWareKey" under HKEY_DYN_DATA's
// "Config Manager\Enum"; devices are listed in the order they are added.
inline void AddDevice9x(hosted::MemoryRegistry& reg, const std::string& hardwareKey) {
    const std::string name = plugged::Hex(
        "C%07X", 0x29A000u + plugged::Count(reg, win::kHkeyDynData, plugged::kDevices9x));
    reg.SetString(win::kHkeyDynData, std::string(plugged::kDevices9x) + "\\" + name, "HardWareKey",
                  hardwareKey);
}

namespace plugged {

// The USB device "<usbId>\<serial>" under the USB storage service, its disk
// "<diskNt>&Rev_1.00\<serial>&0" under the disk service with a
// ParentIdPrefix, and the volume mounted (as UTF-16) at letter. Each is the
// next numbered entry ("0", "1", ...) of its list, whose "Count" it raises.
inline void RecordNt(hosted::MemoryRegistry& reg, const DriveModel& model, char letter) {
    const std::uint32_t index = Count(reg, kHklm, kUsbStorageList);
    const std::string serial = Hex("0710%08X", 0x5A3C0000u + index);
    const std::string prefix = Hex("7&%08x&0", 0x2f5e8a1cu + index);
    const std::string disk = std::string(model.diskNt) + "&Rev_1.00\\" + serial + "&0";
    const auto append = [&reg](const char* list, const std::string& entry) {
        const std::uint32_t count = Count(reg, kHklm, list);
        reg.SetString(kHklm, list, std::to_string(count), entry);
        reg.SetDword(kHklm, list, "Count", count + 1);
    };
    append(kUsbStorageList, std::string(model.usbId) + "\\" + serial);
    append(kDiskList, disk);
    reg.SetString(kHklm, "System\\CurrentControlSet\\Enum\\" + disk, "ParentIdPrefix", prefix);
    std::vector<std::uint8_t> utf16;
    for (char c :
         "\\??\\STORAGE#RemovableMedia#" + prefix + "&RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}") {
        utf16.insert(utf16.end(), {static_cast<std::uint8_t>(c), 0});
    }
    if (letter != 0) {
        reg.SetValue(kHklm, "System\\MountedDevices", std::string("\\DosDevices\\") + letter + ":",
                     hosted::kRegBinary, std::move(utf16));
    }
}

// The USB device "<usbId>\<serial>" and its disk "<disk9x>\<serial>" with
// "CurrentDriveLetterAssignment" letter.
inline void Record9x(hosted::MemoryRegistry& reg, const DriveModel& model, char letter) {
    const std::string serial =
        Hex("0710%08X", 0x5A3C0000u + Count(reg, win::kHkeyDynData, kDevices9x));
    const std::string disk = std::string(model.disk9x) + "\\" + serial;
    AddDevice9x(reg, std::string(model.usbId) + "\\" + serial);
    AddDevice9x(reg, disk);
    if (letter != 0) {
        reg.SetString(kHklm, "Enum\\" + disk, "CurrentDriveLetterAssignment",
                      std::string(1, letter));
    }
}

}  // namespace plugged

// Records a drive in the registry as the machine's family of Windows does
// (the family is the machine's platform id), its volume at letter (0: none).
inline void RecordDrive(TestMachine& machine, const DriveModel& model, char letter) {
    (machine.facts().platformId == win::kVerPlatformWin32Nt
         ? plugged::RecordNt
         : plugged::Record9x)(machine.registryData, model, letter);
}
// The same, with a new empty drive at the letter.
inline void PlugIn(TestMachine& machine, const DriveModel& model, char letter) {
    RecordDrive(machine, model, letter);
    if (letter != 0) {
        machine.AddDrive(letter);
    }
}

// The drives a test plugs in and pulls out.
class DriveBay {
  public:
    explicit DriveBay(TestMachine& machine) : machine_(machine) {}

    void Plug(const DriveModel& model, char letter) {
        plugged_.push_back({model, letter});
        PlugIn(machine_, model, letter);
    }
    // Every drive at the letter is gone; the others stay as they were.
    void Pull(char letter) {
        std::erase_if(plugged_, [letter](const auto& drive) { return drive.second == letter; });
        machine_.PullDrive(letter);
        // Windows forgets the device: the others are recorded again as they were,
        // on the volumes they have.
        machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "System");
        machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "Enum");
        machine_.registryData.DeleteKey(win::kHkeyDynData, "Config Manager");
        for (const auto& [model, at] : plugged_) {
            RecordDrive(machine_, model, at);
        }
    }

  private:
    TestMachine& machine_;
    std::vector<std::pair<DriveModel, char>> plugged_;
};

}  // namespace testbed
