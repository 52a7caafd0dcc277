#include "detect/drive_letter_nt.h"

#include <gtest/gtest.h>

#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace {

using machines::AddNtDrive;
using machines::DriveBit;
using machines::kGenericDiskNt;
using machines::kPrismDiskNt;
using machines::kSlimDiskNt;
using machines::MountTarget;
using machines::SetMount;

constexpr const char* kSlimUsb = "USB\\VID_3107&PID_9340";
constexpr const char* kDiskList = "System\\CurrentControlSet\\Services\\Disk\\Enum";

class DriveLetterNt : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;
    hosted::MemoryRegistry& reg = machine.registryData;

    void SetUp() override { machine.system.logicalDrives = DriveBit('C') | DriveBit('D'); }
    void TearDown() override { EXPECT_EQ(reg.OpenKeyCount(), 0); }

    void PlugSlim(char letter, const std::string& parentIdPrefix = "7&1a2b3c4d&0") {
        AddNtDrive(reg, kSlimUsb, kSlimDiskNt, parentIdPrefix, letter);
        machine.system.logicalDrives |= DriveBit(letter);
    }
    std::uint8_t Letter(const char* prefix = kSlimDiskNt) {
        return detect::GetDriveLetterNt(machine.os, prefix);
    }
};

TEST_F(DriveLetterNt, FollowsDiskToParentIdPrefixToMountedLetter) {
    AddNtDrive(reg, "USB\\Vid_3107&Pid_2611", kGenericDiskNt, "7&9f8e7d6c&0", 'F');
    PlugSlim('E');
    machine.system.logicalDrives |= DriveBit('F');
    EXPECT_EQ(Letter(), 'E');
    EXPECT_EQ(Letter(kGenericDiskNt), 'F');
    EXPECT_EQ(Letter(kPrismDiskNt), 0);
}

TEST_F(DriveLetterNt, LetterMissingFromTheLogicalDrivesIsSkipped) {
    PlugSlim('E');
    SetMount(reg, 'G', MountTarget("7&1a2b3c4d&0"));
    machine.system.logicalDrives &= ~DriveBit('E');
    EXPECT_EQ(Letter(), 0);
    machine.system.logicalDrives |= DriveBit('G');
    EXPECT_EQ(Letter(), 'G');
}

TEST_F(DriveLetterNt, LetterNearestToCWinsAndAAndBAreNeverExamined) {
    PlugSlim('H');
    SetMount(reg, 'F', MountTarget("7&1a2b3c4d&0"));
    SetMount(reg, 'B', MountTarget("7&1a2b3c4d&0"));
    machine.system.logicalDrives |= DriveBit('F') | DriveBit('B');
    EXPECT_EQ(Letter(), 'F');
    reg.DeleteValue(win::kHkeyLocalMachine, "System\\MountedDevices", "\\DosDevices\\F:");
    reg.DeleteValue(win::kHkeyLocalMachine, "System\\MountedDevices", "\\DosDevices\\H:");
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetterNt, MountTargetMayContinueButNotFallShort) {
    PlugSlim('E', "7&1a2b3c4d&0");
    SetMount(reg, 'E', "\\??\\STORAGE#RemovableMedia#7&1a2b3c4d&0");  // exact, no suffix
    EXPECT_EQ(Letter(), 'E');
    SetMount(reg, 'E', "\\??\\STORAGE#RemovableMedia#7&1a2b3c4d&");  // one unit short
    EXPECT_EQ(Letter(), 0);
    SetMount(reg, 'E', "\\??\\STORAGE#RemovableMedia#7&1A2B3C4D&0");  // case differs
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetterNt, MountTargetIsConvertedToTheAnsiCodePage) {
    PlugSlim('E', "7&\x80\xE9&0");  // the euro sign and e acute in Windows-1252
    std::vector<std::uint8_t> utf16;
    for (std::uint16_t unit : std::u16string(u"\\??\\STORAGE#RemovableMedia#7&\u20AC\u00E9&0")) {
        utf16.push_back(static_cast<std::uint8_t>(unit));
        utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    reg.SetValue(win::kHkeyLocalMachine, "System\\MountedDevices",
                 "\\DosDevices\\E:", hosted::kRegBinary, utf16);
    EXPECT_EQ(Letter(), 'E');
}

TEST_F(DriveLetterNt, MountValueTooLargeForItsRoomIsSkipped) {
    PlugSlim('F');
    SetMount(reg, 'E', MountTarget("7&1a2b3c4d&0") + std::string(100, 'x'));  // 364 bytes
    machine.system.logicalDrives |= DriveBit('E');
    EXPECT_EQ(Letter(), 'F');
}

TEST_F(DriveLetterNt, OnlyTheFirstMatchingDiskIsFollowed) {
    AddNtDrive(reg, kSlimUsb, kSlimDiskNt, "7&aaaa&0", 0);  // not mounted
    PlugSlim('E', "7&bbbb&0");
    std::string path;
    EXPECT_EQ(detect::FindDiskEnumEntry(machine.registry, &path, kSlimDiskNt), 0);
    EXPECT_EQ(path.rfind(kSlimDiskNt, 0), 0u);
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetterNt, DiskEntriesAreComparedCaseSensitivelyOverThePrefix) {
    machines::AppendEntry(reg, kDiskList, "USBSTOR\\DISK&VEN_NORVASK&PROD_ROVANE_SLIM\\1&0");
    machines::AppendEntry(reg, kDiskList, "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Sli");
    machines::AppendEntry(reg, kDiskList, kSlimDiskNt);
    EXPECT_EQ(detect::FindDiskEnumEntry(machine.registry, nullptr, kSlimDiskNt), 2);
}

TEST_F(DriveLetterNt, CountLowByteDecidesHowManyEntriesAreScanned) {
    PlugSlim('E');
    for (std::uint32_t count : {0u, 256u, 200u, 128u}) {
        reg.SetDword(win::kHkeyLocalMachine, kDiskList, "Count", count);
        EXPECT_EQ(detect::FindDiskEnumEntry(machine.registry, nullptr, kSlimDiskNt), -1) << count;
    }
    reg.SetDword(win::kHkeyLocalMachine, kDiskList, "Count", 257);
    EXPECT_EQ(Letter(), 'E');
    reg.DeleteValue(win::kHkeyLocalMachine, kDiskList, "Count");
    EXPECT_EQ(Letter(), 0);
}

TEST_F(DriveLetterNt, DiskEntryTooLongForAPathIsPassedOver) {
    // A disk whose instance path takes all 259 characters a path can hold.
    std::string other = std::string(kSlimDiskNt) + "&Rev_1.00\\";
    other += std::string(259 - other.size(), '7');
    reg.SetString(win::kHkeyLocalMachine, "System\\CurrentControlSet\\Enum\\" + other,
                  "ParentIdPrefix", "7&other&0");
    SetMount(reg, 'D', MountTarget("7&other&0"));
    // Cut to 259 characters, this entry would name that disk.
    machines::AppendEntry(reg, kDiskList, other + "&0");
    PlugSlim('E');
    std::string path;
    EXPECT_EQ(detect::FindDiskEnumEntry(machine.registry, &path, kSlimDiskNt), 1);
    EXPECT_EQ(Letter(), 'E');
    reg.SetString(win::kHkeyLocalMachine, kDiskList, "0", other);  // fits exactly
    EXPECT_EQ(detect::FindDiskEnumEntry(machine.registry, &path, kSlimDiskNt), 0);
    EXPECT_EQ(path, other);
    EXPECT_EQ(Letter(), 'D');
}

TEST_F(DriveLetterNt, MissingLinksGiveNoLetter) {
    const std::string disk = AddNtDrive(reg, kSlimUsb, kSlimDiskNt, "7&1a2b3c4d&0", 'E');
    machine.system.logicalDrives |= DriveBit('E');
    const std::string instanceKey = "System\\CurrentControlSet\\Enum\\" + disk;
    reg.DeleteValue(win::kHkeyLocalMachine, instanceKey, "ParentIdPrefix");
    EXPECT_EQ(Letter(), 0);
    reg.DeleteKey(win::kHkeyLocalMachine, instanceKey);
    EXPECT_EQ(Letter(), 0);
    reg.SetString(win::kHkeyLocalMachine, instanceKey, "ParentIdPrefix", "7&1a2b3c4d&0");
    EXPECT_EQ(Letter(), 'E');
    reg.DeleteKey(win::kHkeyLocalMachine, "System\\MountedDevices");
    EXPECT_EQ(Letter(), 0);
    reg.DeleteKey(win::kHkeyLocalMachine, kDiskList);
    EXPECT_EQ(detect::FindDiskEnumEntry(machine.registry, nullptr, kSlimDiskNt), -1);
}

TEST_F(DriveLetterNt, ParentIdPrefixFillingItsRoomIsNeverReadPast) {
    const std::string disk = AddNtDrive(reg, kSlimUsb, kSlimDiskNt, "7&1a2b3c4d&0", 'E');
    const std::string instanceKey = "System\\CurrentControlSet\\Enum\\" + disk;
    reg.SetValue(win::kHkeyLocalMachine, instanceKey, "ParentIdPrefix", hosted::kRegSz,
                 std::vector<std::uint8_t>(233, '7'));  // no terminator
    EXPECT_EQ(Letter(), 0);
    reg.SetValue(win::kHkeyLocalMachine, instanceKey, "ParentIdPrefix", hosted::kRegSz,
                 std::vector<std::uint8_t>(234, '7'));
    EXPECT_EQ(Letter(), 0);
}

}  // namespace
