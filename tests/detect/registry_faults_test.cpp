// Every call that detection makes fails in turn: the answer is then the
// drive or no drive, never another one; no key stays open; only a failing
// current directory shows a message, and it gives the failure's reason.
#include <gtest/gtest.h>

#include "detect/detect.h"
#include "testbed/plugged_drives.h"
#include "testbed/sweep.h"

namespace {

using namespace testbed;

TEST(RegistryFaults, EachFailureGivesTheDriveOrNoneAndClosesEveryKey) {
    for (const bool nt : {true, false}) {
        SweepFailurePoints(nt ? "detection on NT" : "detection on 95", [nt](int nth) {
            TestMachine machine;  // a Kestrel Prism at F, the current directory there on NT
            machine.facts().platformId =
                nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
            machine.facts().currentDirectory = nt ? "F:\\" : "C:\\";
            PlugIn(machine, {"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\X"}, 'E');
            PlugIn(machine, kKestrelPrism, 'F');
            ArmNthCall(machine, nth);
            int variant = 0;
            const std::uint8_t letter = detect::DetectSupportedDrive(machine.os, variant);
            EXPECT_EQ(letter == 0 ? detect::kVariantNone : detect::kVariantKestrel, variant);
            EXPECT_TRUE(letter == 'F' || (letter == 0 && FaultMet(machine)))
                << machine.faults.Injected();
            ExpectNothingLeftOpen(machine);
            ExpectReasonsAreFailures(machine);
            const bool directoryFailed =
                machine.faults.Injected().starts_with("GetCurrentDirectory #1");
            EXPECT_EQ(machine.ui.shown.size(), directoryFailed ? 1u : 0u)
                << machine.faults.Injected();
            return FaultMet(machine);
        });
    }
}

}  // namespace
