// Detection with each of its platform calls failing in turn, on each family:
// the drive is found, or there is none; only a failing current directory
// is reported, and it quotes the failure.
#include <gtest/gtest.h>

#include "detect/detect.h"
#include "plugged_drives.h"
#include "sweep.h"

namespace sweeps {
namespace {

struct Family {
    const char* name;
    std::uint32_t platformId;
    machines::DriveModel drive;
    int variant;
};

std::ostream& operator<<(std::ostream& out, const Family& family) {
    return out << family.name << " family";
}

class DetectionSweep : public ::testing::TestWithParam<Family> {};

TEST_P(DetectionSweep, FindsTheDriveOrNoneAndClosesEveryKey) {
    const Family& family = GetParam();
    SweepFailurePoints(std::string("detection on the ") + family.name + " family", [&](int nth) {
        doubles::FakeMachine machine;
        machine.system.platformId = family.platformId;
        machines::PlugIn(machine, family.drive, 'E');
        // A drive of the third group besides: the count passes over it.
        machines::PlugIn(machine, machines::kCountOnly, 0);
        ArmNthCall(machine, nth);
        int variant = 0;
        const std::uint8_t letter = detect::DetectSupportedDrive(machine.os, variant);
        const std::string injected = machine.faults.Injected();

        ExpectNothingLeftOpen(machine);
        ExpectReasonsAreFailures(machine);
        if (letter != 0) {
            EXPECT_EQ(letter, 'E') << injected;
            EXPECT_EQ(variant, family.variant) << injected;
        } else {
            EXPECT_EQ(variant, detect::kVariantNone) << injected;
            EXPECT_TRUE(FaultMet(machine)) << "no drive found without a failing call";
        }
        if (injected == "GetCurrentDirectory #1") {
            EXPECT_EQ(letter, 0);
            EXPECT_EQ(machine.ui.Texts(),
                      std::vector<std::string>{"System Error: " + FaultText() + "!"});
        } else {
            EXPECT_TRUE(machine.ui.shown.empty()) << injected;
        }
        if (injected == "GetCurrentDirectory #2") {
            // Unread, the current directory is on no drive: the catalogue decides.
            EXPECT_EQ(letter, 'E');
        }
        return FaultMet(machine);
    });
}

INSTANTIATE_TEST_SUITE_P(EachFamily, DetectionSweep,
                         ::testing::Values(Family{"NT", win::kVerPlatformWin32Nt,
                                                  machines::kOrcaSlim, detect::kVariantOrca},
                                           Family{"95", win::kVerPlatformWin32Windows,
                                                  machines::kKestrelGeneric,
                                                  detect::kVariantKestrel}),
                         [](const ::testing::TestParamInfo<Family>& info) {
                             return std::string("Windows") + info.param.name;
                         });

}  // namespace
}  // namespace sweeps
