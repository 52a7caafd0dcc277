#include <gtest/gtest.h>

#include "detect/detect.h"
#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace {

using machines::kCountOnly;
using machines::kKestrelGeneric;
using machines::kKestrelPrism;
using machines::kOrcaPrism;
using machines::kOrcaSlim;
using machines::PlugIn;

constexpr const char* kUsbStorageList = "System\\CurrentControlSet\\Services\\USBSTOR\\Enum";

// Runs on the NT family (true) and the 95 family (false).
class DriveCount : public ::testing::TestWithParam<bool> {
  protected:
    doubles::FakeMachine machine;

    void SetUp() override {
        machine.system.platformId =
            GetParam() ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
    }
    void TearDown() override { EXPECT_EQ(machine.registryData.OpenKeyCount(), 0); }
    int Mix() { return detect::CountSupportedDrives(machine.os, GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Families, DriveCount, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Nt" : "Win9x"; });

TEST_P(DriveCount, EachSetOfGroupsHasItsCode) {
    struct Case {
        bool kestrel, orca, third;
        int mix;
    };
    const Case cases[] = {
        {false, false, false, 0}, {true, false, false, 1}, {false, true, false, 2},
        {false, false, true, 3},  {true, true, false, 4},  {true, false, true, 5},
        {false, true, true, 6},   {true, true, true, 7},
    };
    for (const Case& c : cases) {
        doubles::FakeMachine fresh;
        fresh.system.platformId = machine.system.platformId;
        if (c.third) {
            PlugIn(fresh, kCountOnly, 'H');
        }
        if (c.orca) {
            PlugIn(fresh, kOrcaPrism, 'G');
        }
        if (c.kestrel) {
            PlugIn(fresh, kKestrelGeneric, 'F');
        }
        EXPECT_EQ(detect::CountSupportedDrives(fresh.os, GetParam()), c.mix)
            << c.kestrel << c.orca << c.third;
        EXPECT_EQ(fresh.registryData.OpenKeyCount(), 0);
    }
}

TEST_P(DriveCount, AGroupCountsOnceAndOrderDoesNotMatter) {
    PlugIn(machine, kOrcaSlim, 'E');
    PlugIn(machine, kOrcaPrism, 'F');
    EXPECT_EQ(Mix(), detect::kMixOrca);
    PlugIn(machine, kKestrelPrism, 'G');
    EXPECT_EQ(Mix(), detect::kMixKestrelOrca);
}

TEST_P(DriveCount, UnsupportedDevicesCountForNothing) {
    PlugIn(machine, {"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\OTHER"}, 'E');
    EXPECT_EQ(Mix(), detect::kMixNone);
}

TEST(DriveCountNt, OnlyTheCountsLowByteTakenAsSignedIsWalked) {
    doubles::FakeMachine machine;
    PlugIn(machine, kOrcaSlim, 'E');
    PlugIn(machine, kKestrelGeneric, 'F');
    hosted::MemoryRegistry& reg = machine.registryData;
    const auto mixWithCount = [&](std::uint32_t count) {
        reg.SetDword(win::kHkeyLocalMachine, kUsbStorageList, "Count", count);
        return detect::CountSupportedDrives(machine.os, true);
    };
    EXPECT_EQ(mixWithCount(2), detect::kMixKestrelOrca);
    EXPECT_EQ(mixWithCount(1), detect::kMixOrca);  // the second entry is not read
    EXPECT_EQ(mixWithCount(258), detect::kMixKestrelOrca);
    EXPECT_EQ(mixWithCount(256), detect::kMixNone);
    EXPECT_EQ(mixWithCount(200), detect::kMixNone);
    EXPECT_EQ(mixWithCount(0), detect::kMixNone);
    reg.DeleteValue(win::kHkeyLocalMachine, kUsbStorageList, "Count");
    EXPECT_EQ(detect::CountSupportedDrives(machine.os, true), detect::kMixNone);
    EXPECT_EQ(reg.OpenKeyCount(), 0);
}

TEST(DriveCountNt, MissingNumberedEntryMatchesNothingAndTheWalkGoesOn) {
    doubles::FakeMachine machine;
    PlugIn(machine, kOrcaSlim, 'E');
    PlugIn(machine, kKestrelGeneric, 'F');
    machine.registryData.DeleteValue(win::kHkeyLocalMachine, kUsbStorageList, "0");
    EXPECT_EQ(detect::CountSupportedDrives(machine.os, true), detect::kMixKestrel);
    machine.registryData.DeleteKey(win::kHkeyLocalMachine, kUsbStorageList);
    EXPECT_EQ(detect::CountSupportedDrives(machine.os, true), detect::kMixNone);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST(DriveCount9x, DeviceWithoutHardwareKeyEndsThePass) {
    doubles::FakeMachine machine;
    machine.system.platformId = win::kVerPlatformWin32Windows;
    PlugIn(machine, kKestrelGeneric, 'E');  // devices C029A000 and C029A001
    machine.registryData.CreateKey(win::kHkeyDynData, "Config Manager\\Enum\\C029A0015");
    PlugIn(machine, kOrcaSlim, 'F');  // listed after the unreadable device
    EXPECT_EQ(detect::CountSupportedDrives(machine.os, false), detect::kMixKestrel);
    machine.registryData.DeleteKey(win::kHkeyDynData, "Config Manager\\Enum");
    EXPECT_EQ(detect::CountSupportedDrives(machine.os, false), detect::kMixNone);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST(DriveCount9x, UnopenableDeviceTreeStopsTheRemainingPasses) {
    doubles::FakeMachine machine;
    machine.system.platformId = win::kVerPlatformWin32Windows;
    PlugIn(machine, kKestrelGeneric, 'E');
    PlugIn(machine, kOrcaSlim, 'F');
    // The Kestrel pass opens the tree and one device; the Orca pass cannot.
    machine.faults.FailNth(doubles::Call::RegOpenKey, 3, win::kErrorAccessDenied);
    EXPECT_EQ(detect::CountSupportedDrives(machine.os, false), detect::kMixKestrel);
    EXPECT_EQ(machine.faults.Count(doubles::Call::RegOpenKey), 3);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

}  // namespace
