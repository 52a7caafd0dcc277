#include "detect/hardware_id.h"

#include <gtest/gtest.h>

#include "detect/platform_test.h"
#include "doubles/fake_machine.h"

namespace {

using detect::MatchesGroup;
using detect::MatchesIdList;

TEST(HardwareIdMatch, DeviceInstancePathMatchesInAnyLetterCase) {
    EXPECT_TRUE(MatchesIdList("USB\\VID_3107&PID_9340\\0710A1B2", detect::g_OrcaSlimIds));
    EXPECT_TRUE(MatchesIdList("usb\\vid_3107&pid_9340\\0710a1b2", detect::g_OrcaSlimIds));
    EXPECT_TRUE(MatchesIdList("Usb\\Vid_3107&pId_9340", detect::g_OrcaSlimIds));
    EXPECT_FALSE(MatchesIdList("USB\\VID_3107&PID_934", detect::g_OrcaSlimIds));  // too short
    EXPECT_FALSE(MatchesIdList("USB\\VID_3107&PID_9341\\1", detect::g_OrcaSlimIds));
}

TEST(HardwareIdMatch, MatchesByPrefixOverTheEntryOnly) {
    EXPECT_TRUE(MatchesIdList("USB\\Vid_3107&Pid_26117", detect::g_KestrelGenericIds));
    EXPECT_TRUE(MatchesIdList("USB\\Vid_3107&Pid_2623\\X", detect::g_KestrelGenericIds));
    EXPECT_TRUE(MatchesIdList("USB\\Vid_3107&Pid_2623\\X", detect::g_KestrelPrismIds));
    EXPECT_TRUE(MatchesGroup("USB\\Vid_3107&Pid_2623\\X", detect::g_KestrelGroup));
    EXPECT_FALSE(MatchesGroup("USB\\Vid_3107&Pid_2623\\X", detect::g_OrcaGroup));
    EXPECT_TRUE(MatchesGroup("USB\\VID_3107&PID_2620\\X", detect::g_ThirdGroup));
}

TEST(HardwareIdMatch, EmptyTextOrEmptyListMatchesNothing) {
    EXPECT_FALSE(MatchesIdList("", detect::g_KestrelGenericIds));
    EXPECT_FALSE(MatchesGroup("", detect::g_ThirdGroup));
    const char* const emptyList[] = {"", "USB\\VID_3107&PID_9340"};
    EXPECT_FALSE(MatchesIdList("USB\\VID_3107&PID_9340", emptyList));
}

TEST(IsNtPlatform, TrueOnlyForTheNtPlatformId) {
    doubles::FakeMachine machine;
    EXPECT_TRUE(detect::IsNtPlatform(machine.system));
    machine.system.platformId = win::kVerPlatformWin32Windows;
    EXPECT_FALSE(detect::IsNtPlatform(machine.system));
    machine.system.platformId = win::kVerPlatformWin32s;
    EXPECT_FALSE(detect::IsNtPlatform(machine.system));
    machine.system.platformId = win::kVerPlatformWin32Nt;
    machine.faults.FailNth(doubles::Call::GetVersion, 4, win::kErrorInvalidParameter);
    EXPECT_FALSE(detect::IsNtPlatform(machine.system));  // asked afresh, and it failed
    EXPECT_TRUE(detect::IsNtPlatform(machine.system));
}

}  // namespace
