// Every registry call that detection makes is failed in turn: the answer is
// then the drive or no drive, never another one, and no key stays open.
#include <gtest/gtest.h>

#include "detect/detect.h"
#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace {

using doubles::Call;

struct Sweep {
    bool isNt;
    Call call;
};

std::string Name(const ::testing::TestParamInfo<Sweep>& info) {
    return std::string(info.param.isNt ? "Nt" : "Win9x") + doubles::CallName(info.param.call);
}

class RegistryFaults : public ::testing::TestWithParam<Sweep> {
  protected:
    // A Kestrel Prism drive at F beside unsupported devices; on the NT family
    // the current directory is on it, on the 95 family it is not.
    void Build(doubles::FakeMachine& machine) const {
        if (!GetParam().isNt) {
            machine.system.platformId = win::kVerPlatformWin32Windows;
        } else {
            machine.system.currentDirectory = "F:\\";
        }
        machines::PlugIn(machine, {"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\X"},
                         'E');
        machines::PlugIn(machine, machines::kKestrelPrism, 'F');
    }
};

TEST_P(RegistryFaults, EachFailureGivesTheDriveOrNoneAndClosesEveryKey) {
    doubles::FakeMachine clean;
    Build(clean);
    int variant = 0;
    ASSERT_EQ(detect::DetectSupportedDrive(clean.os, variant), 'F');
    const int calls = clean.faults.Count(GetParam().call);
    ASSERT_GT(calls, 0);
    for (int nth = 1; nth <= calls; ++nth) {
        for (std::uint32_t error : {win::kErrorAccessDenied, win::kErrorFileNotFound}) {
            doubles::FakeMachine machine;
            Build(machine);
            machine.faults.FailNth(GetParam().call, nth, error);
            const std::uint8_t letter = detect::DetectSupportedDrive(machine.os, variant);
            const std::string what = machine.faults.Injected();
            EXPECT_EQ(machine.registryData.OpenKeyCount(), 0) << what;
            if (letter == 0) {
                EXPECT_EQ(variant, detect::kVariantNone) << what;
            } else {
                EXPECT_EQ(letter, 'F') << what;
                EXPECT_EQ(variant, detect::kVariantKestrel) << what;
            }
            EXPECT_TRUE(machine.ui.shown.empty()) << what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, RegistryFaults,
                         ::testing::Values(Sweep{true, Call::RegOpenKey},
                                           Sweep{true, Call::RegQueryValue},
                                           Sweep{false, Call::RegOpenKey},
                                           Sweep{false, Call::RegQueryValue},
                                           Sweep{false, Call::RegEnumKey}),
                         Name);

}  // namespace
