// Registry contents of machines with supported drives plugged in, as
// Windows writes them, for tests and benchmarks of the detection.
#pragma once

#include <cstdint>
#include <string>

#include "platform/hosted/memory_registry.h"
#include "testbed/test_machine.h"

namespace testbed {

// Disk IDs of the supported drives as the storage stack lists them.
inline constexpr const char* kSlimDiskNt = "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim";
inline constexpr const char* kPrismDiskNt = "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Prism";
inline constexpr const char* kGenericDiskNt = "USBSTOR\\Disk&Ven_Generic&Prod_STORAGE_DEVICE";
inline constexpr const char* kSlimDisk9x = "SCSI\\NORVASK_ROVANE_SLIM_____0";
inline constexpr const char* kPrismDisk9x = "SCSI\\NORVASK_ROVANE_PRISM___X";
inline constexpr const char* kGenericDisk9x = "SCSI\\GENERIC_STORAGE_DEVICE__1";

// Bit of a letter in the mask of logical drives.
std::uint32_t DriveBit(char letter);

// NT family ---------------------------------------------------------------

// Adds text as the next numbered entry ("0", "1", ...) of a list key and
// raises its "Count".
void AppendEntry(hosted::MemoryRegistry& reg, const std::string& listKey, const std::string& text);

// "\??\STORAGE#RemovableMedia#<parentIdPrefix>&RM#{53f5630d-...}".
std::string MountTarget(const std::string& parentIdPrefix);
// Mounts target (stored as UTF-16, as Windows stores it) at a letter.
void SetMount(hosted::MemoryRegistry& reg, char letter, const std::string& target);

// A whole drive: its USB device "<usbId>\<serial>" under the USB storage
// service, its disk "<diskPrefix>&Rev_1.00\<serial>&0" under the disk
// service with the given ParentIdPrefix, and the volume at letter (0: not
// mounted). Returns the disk's instance path.
std::string AddNtDrive(hosted::MemoryRegistry& reg, const std::string& usbId,
                       const std::string& diskPrefix, const std::string& parentIdPrefix,
                       char letter);

// 95 family -------------------------------------------------------------

// Adds a device present with this "HardWareKey" under HKEY_DYN_DATA's
// "Config Manager\Enum"; devices are listed in the order they are added.
void AddDevice9x(hosted::MemoryRegistry& reg, const std::string& hardwareKey);

// A whole drive: the USB device "<usbId>\<serial>" and its disk
// "<diskKey>\<serial>" with "CurrentDriveLetterAssignment" letter (0: none).
// Returns the disk's hardware key.
std::string AddDrive9x(hosted::MemoryRegistry& reg, const std::string& usbId,
                       const std::string& diskKey, char letter);

// Either family -------------------------------------------------------

// A model of drive: the USB hardware ID it reports and its disk's IDs.
struct DriveModel {
    const char* usbId;
    const char* diskNt;
    const char* disk9x;
};
inline constexpr DriveModel kOrcaSlim{"USB\\VID_3107&PID_9340", kSlimDiskNt, kSlimDisk9x};
inline constexpr DriveModel kOrcaPrism{"USB\\Vid_3107&Pid_9341", kPrismDiskNt, kPrismDisk9x};
inline constexpr DriveModel kKestrelGeneric{"USB\\Vid_3107&Pid_2611", kGenericDiskNt,
                                            kGenericDisk9x};
inline constexpr DriveModel kKestrelPrism{"USB\\Vid_3107&Pid_2623", kPrismDiskNt, kPrismDisk9x};
// A drive of the third group: counted, never detected.
inline constexpr DriveModel kCountOnly{"USB\\VID_3107&PID_2619",
                                       "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Mini",
                                       "SCSI\\NORVASK_ROVANE_MINI____0"};

// Records a drive in the registry as the machine's family of Windows does
// (the family is the machine's platform id), its volume at letter (0: none).
void RecordDrive(TestMachine& machine, const DriveModel& model, char letter);
// The same, with a new empty drive at the letter.
void PlugIn(TestMachine& machine, const DriveModel& model, char letter);

}  // namespace testbed
