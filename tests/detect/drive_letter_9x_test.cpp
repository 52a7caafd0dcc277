#include "detect/drive_letter_9x.h"

#include <gtest/gtest.h>

#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace {

using machines::AddDevice9x;
using machines::AddDrive9x;
using machines::kPrismDisk9x;
using machines::kSlimDisk9x;

constexpr const char* kSlimUsb = "USB\\VID_3107&PID_9340";
constexpr const char* kPrismUsb = "USB\\Vid_3107&Pid_9341";

class DriveLetter9x : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;
    hosted::MemoryRegistry& reg = machine.registryData;

    void SetUp() override { machine.system.platformId = win::kVerPlatformWin32Windows; }
    void TearDown() override { EXPECT_EQ(reg.OpenKeyCount(), 0); }

    std::uint8_t Letter(const char* usbId = kSlimUsb, const char* scsiId = kSlimDisk9x) {
        return detect::GetDriveLetter9x(machine.registry, usbId, scsiId);
    }
    void AddDeviceWithoutHardwareKey() {
        reg.CreateKey(win::kHkeyDynData, "Config Manager\\Enum\\C0000000");  // sorts first
    }
    void SetAssignment(const std::string& disk, std::vector<std::uint8_t> data) {
        reg.SetValue(win::kHkeyLocalMachine, "Enum\\" + disk, "CurrentDriveLetterAssignment",
                     hosted::kRegSz, std::move(data));
    }
};

TEST_F(DriveLetter9x, LetterOfTheDiskOnceTheUsbDeviceIsPresent) {
    AddDevice9x(reg, "ROOT\\PCI\\0000");
    AddDrive9x(reg, kSlimUsb, kSlimDisk9x, 'E');
    EXPECT_EQ(Letter(), 'E');
    EXPECT_EQ(Letter(kPrismUsb, kPrismDisk9x), 0);
}

TEST_F(DriveLetter9x, WithoutTheUsbDeviceTheDiskIsNeverLookedFor) {
    AddDevice9x(reg, std::string(kSlimDisk9x) + "\\1");
    AddDevice9x(reg, "ROOT\\PCI\\0000");
    EXPECT_EQ(Letter(), 0);
    EXPECT_EQ(machine.faults.Count(doubles::Call::RegEnumKey), 3);  // one walk only
}

TEST_F(DriveLetter9x, UsbIdIgnoresCaseAndDiskKeyRespectsIt) {
    AddDevice9x(reg, "usb\\vid_3107&pid_9340\\0710");
    const std::string disk = "scsi\\norvask_rovane_slim_____0\\0710";
    AddDevice9x(reg, disk);
    SetAssignment(disk, {'E', 0});
    EXPECT_EQ(Letter(), 0);
    const std::string upper = std::string(kSlimDisk9x) + "\\0711";
    AddDevice9x(reg, upper);
    SetAssignment(upper, {'F', 0});
    EXPECT_EQ(Letter(), 'F');
}

TEST_F(DriveLetter9x, DiskKeyIsComparedWithoutItsLastCharacter) {
    AddDevice9x(reg, std::string(kPrismUsb) + "\\0710");
    const std::string disk = "SCSI\\NORVASK_ROVANE_PRISM___Y\\0710";
    AddDevice9x(reg, disk);
    SetAssignment(disk, {'G', 0});
    EXPECT_EQ(Letter(kPrismUsb, kPrismDisk9x), 'G');
}

TEST_F(DriveLetter9x, FirstMatchingDiskDecidesEvenWithoutALetter) {
    AddDrive9x(reg, kSlimUsb, kSlimDisk9x, 0);
    AddDrive9x(reg, kSlimUsb, kSlimDisk9x, 'F');
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetter9x, WalksPairUsbDeviceAndDiskIndependently) {
    AddDevice9x(reg, std::string(kSlimUsb) + "\\0710");
    AddDrive9x(reg, kPrismUsb, kPrismDisk9x, 'H');
    EXPECT_EQ(Letter(kSlimUsb, kPrismDisk9x), 'H');
}

TEST_F(DriveLetter9x, LetterIsReturnedAsStored) {
    const std::string disk = AddDrive9x(reg, kSlimUsb, kSlimDisk9x, 'e');
    EXPECT_EQ(Letter(), 'e');
    SetAssignment(disk, {});  // an empty value holds no letter
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetter9x, DeviceWithoutHardwareKeyEndsEitherWalk) {
    AddDeviceWithoutHardwareKey();
    AddDrive9x(reg, kSlimUsb, kSlimDisk9x, 'E');
    EXPECT_EQ(Letter(), 0);
    reg.DeleteKey(win::kHkeyDynData, "Config Manager\\Enum\\C0000000");
    EXPECT_EQ(Letter(), 'E');
    reg.CreateKey(win::kHkeyDynData, "Config Manager\\Enum\\C029A0005");  // after the USB device
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetter9x, HardwareKeyFillingItsRoomIsCutThereAndALongerOneEndsTheWalk) {
    reg.SetValue(win::kHkeyDynData, "Config Manager\\Enum\\C0000000", "HardWareKey", hosted::kRegSz,
                 std::vector<std::uint8_t>(520, 'R'));  // no terminator
    AddDrive9x(reg, kSlimUsb, kSlimDisk9x, 'E');
    EXPECT_EQ(Letter(), 'E');
    reg.SetValue(win::kHkeyDynData, "Config Manager\\Enum\\C0000000", "HardWareKey", hosted::kRegSz,
                 std::vector<std::uint8_t>(521, 'R'));
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetter9x, NoDeviceTreeGivesNoLetter) {
    reg.SetString(win::kHkeyLocalMachine, std::string("Enum\\") + kSlimDisk9x + "\\1",
                  "CurrentDriveLetterAssignment", "E");
    EXPECT_EQ(Letter(), 0);
}

}  // namespace
