// Supported drives plugged into a test machine: their registry entries as the
// machine's family of Windows records them, and their volumes.
#pragma once

#include <string>
#include <vector>

#include "testbed/test_machine.h"

namespace testbed {

// Adds a device present with this "HardWareKey" under HKEY_DYN_DATA's
// "Config Manager\Enum"; devices are listed in the order they are added.
void AddDevice9x(hosted::MemoryRegistry& reg, const std::string& hardwareKey);

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

// Records a drive in the registry as the machine's family of Windows does
// (the family is the machine's platform id), its volume at letter (0: none).
void RecordDrive(TestMachine& machine, const DriveModel& model, char letter);
// The same, with a new empty drive at the letter.
void PlugIn(TestMachine& machine, const DriveModel& model, char letter);

// The drives a test plugs in and pulls out.
class DriveBay {
  public:
    explicit DriveBay(TestMachine& machine) : machine_(machine) {}

    void Plug(const DriveModel& model, char letter);
    // Every drive at the letter is gone; the others stay as they were.
    void Pull(char letter);

  private:
    struct Plugged {
        DriveModel model;
        char letter;
    };
    TestMachine& machine_;
    std::vector<Plugged> plugged_;
};

}  // namespace testbed
