#include <gtest/gtest.h>

#include "detect/detect.h"
#include "detect/home_letter.h"
#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace {

using machines::kCountOnly;
using machines::kKestrelGeneric;
using machines::kKestrelPrism;
using machines::kOrcaPrism;
using machines::kOrcaSlim;
using machines::PlugIn;

struct Verdict {
    std::uint8_t letter;
    int variant;
    bool operator==(const Verdict&) const = default;
};

void PrintTo(const Verdict& v, std::ostream* os) {
    *os << "letter " << int{v.letter} << " variant " << v.variant;
}

class Detection : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;

    void TearDown() override { EXPECT_EQ(machine.registryData.OpenKeyCount(), 0); }
    void Use9x() { machine.system.platformId = win::kVerPlatformWin32Windows; }
    Verdict Detect() {
        int variant = 42;
        const std::uint8_t letter = detect::DetectSupportedDrive(machine.os, variant);
        return {letter, variant};
    }
};

// Runs on the NT family (true) and the 95 family (false).
class DetectionOnBoth : public Detection, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        if (!GetParam()) {
            Use9x();
        }
    }
};

INSTANTIATE_TEST_SUITE_P(Families, DetectionOnBoth, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Nt" : "Win9x"; });

TEST_P(DetectionOnBoth, NoSupportedDriveLooksNoFurtherThanTheCount) {
    PlugIn(machine, {"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\OTHER"}, 'E');
    EXPECT_EQ(Detect(), (Verdict{0, detect::kVariantNone}));
    // The NT count opens one key; the 95 count opens the tree and its two
    // devices in each of its three passes.
    EXPECT_EQ(machine.faults.Count(doubles::Call::RegOpenKey), GetParam() ? 1 : 9);
    EXPECT_TRUE(machine.ui.shown.empty());
}

TEST_P(DetectionOnBoth, EachModelIsFoundWithItsVariant) {
    PlugIn(machine, kOrcaSlim, 'E');
    EXPECT_EQ(Detect(), (Verdict{'E', detect::kVariantOrca}));
    doubles::FakeMachine other;
    other.system.platformId = machine.system.platformId;
    PlugIn(other, kKestrelGeneric, 'G');
    int variant = 0;
    EXPECT_EQ(detect::DetectSupportedDrive(other.os, variant), 'G');
    EXPECT_EQ(variant, detect::kVariantKestrel);
    EXPECT_EQ(other.registryData.OpenKeyCount(), 0);
}

TEST_P(DetectionOnBoth, CatalogueOrderDecidesAwayFromHome) {
    PlugIn(machine, kOrcaPrism, 'E');
    PlugIn(machine, kOrcaSlim, 'F');
    EXPECT_EQ(Detect(), (Verdict{'F', detect::kVariantOrca}));  // Slim before Prism
}

TEST_P(DetectionOnBoth, DriveHoldingTheCurrentDirectoryWins) {
    PlugIn(machine, kKestrelGeneric, 'E');  // found by step 3
    PlugIn(machine, kKestrelPrism, 'F');    // found by step 4
    EXPECT_EQ(Detect(), (Verdict{'E', detect::kVariantKestrel}));
    machine.system.currentDirectory = "F:\\Setup";
    EXPECT_EQ(Detect(), (Verdict{'F', detect::kVariantKestrel}));
    machine.system.currentDirectoryUnreadable = true;  // home letter 255
    EXPECT_EQ(Detect(), (Verdict{'E', detect::kVariantKestrel}));
    EXPECT_TRUE(machine.ui.shown.empty());
}

TEST_P(DetectionOnBoth, DriveMixOfThirdGroupOnlyFindsNothing) {
    PlugIn(machine, kCountOnly, 'E');
    EXPECT_EQ(Detect(), (Verdict{0, detect::kVariantNone}));
}

TEST_P(DetectionOnBoth, ReadsTheRegistryAfreshOnEveryCall) {
    EXPECT_EQ(Detect(), (Verdict{0, detect::kVariantNone}));
    PlugIn(machine, kOrcaSlim, 'E');
    EXPECT_EQ(Detect(), (Verdict{'E', detect::kVariantOrca}));
}

TEST_F(Detection, PrismDiskTakesTheVariantOfTheGroupPresentOnNt) {
    PlugIn(machine, kKestrelPrism, 'E');  // mix 1: step 2 is filtered, step 4 finds it
    EXPECT_EQ(Detect(), (Verdict{'E', detect::kVariantKestrel}));
    doubles::FakeMachine orca;
    PlugIn(orca, kOrcaPrism, 'E');  // mix 2: step 2 finds it
    int variant = 0;
    EXPECT_EQ(detect::DetectSupportedDrive(orca.os, variant), 'E');
    EXPECT_EQ(variant, detect::kVariantOrca);
}

TEST_F(Detection, GroupFilterOnNtForEveryMix) {
    // The drives are plugged in at E, F, G in the order given.
    const auto verdictWith = [](std::initializer_list<const machines::DriveModel*> models) {
        doubles::FakeMachine fresh;
        char letter = 'E';
        for (const machines::DriveModel* model : models) {
            PlugIn(fresh, *model, letter++);
        }
        int variant = 0;
        const std::uint8_t found = detect::DetectSupportedDrive(fresh.os, variant);
        EXPECT_EQ(fresh.registryData.OpenKeyCount(), 0);
        return Verdict{found, variant};
    };
    const Verdict none{0, detect::kVariantNone};
    EXPECT_EQ(verdictWith({&kCountOnly}), none);                                 // mix 3
    EXPECT_EQ(verdictWith({&kOrcaSlim, &kKestrelGeneric}), none);                // mix 4
    EXPECT_EQ(verdictWith({&kCountOnly, &kKestrelGeneric}), (Verdict{'F', 2}));  // mix 5
    EXPECT_EQ(verdictWith({&kCountOnly, &kOrcaSlim}), (Verdict{'F', 1}));        // mix 6
    EXPECT_EQ(verdictWith({&kOrcaSlim, &kKestrelGeneric, &kCountOnly}), none);   // mix 7
}

TEST_F(Detection, MixedGroupsKeepTheirLettersOn9x) {
    Use9x();
    PlugIn(machine, kKestrelGeneric, 'E');
    PlugIn(machine, kOrcaPrism, 'F');
    EXPECT_EQ(Detect(), (Verdict{'F', detect::kVariantOrca}));
    machine.system.currentDirectory = "E:\\";
    EXPECT_EQ(Detect(), (Verdict{'E', detect::kVariantKestrel}));
}

TEST_F(Detection, LetterOn9xComesBackAsStored) {
    Use9x();
    PlugIn(machine, kOrcaSlim, 'e');
    EXPECT_EQ(Detect(), (Verdict{'e', detect::kVariantOrca}));
    machine.system.currentDirectory = "e:\\";  // compared byte for byte
    EXPECT_EQ(Detect(), (Verdict{'e', detect::kVariantOrca}));
}

TEST_F(Detection, UnsizableCurrentDirectoryShowsTheSystemError) {
    PlugIn(machine, kOrcaSlim, 'E');
    machine.faults.FailNth(doubles::Call::GetCurrentDirectory, 1, win::kErrorAccessDenied);
    EXPECT_EQ(Detect(), (Verdict{0, detect::kVariantNone}));
    ASSERT_EQ(machine.ui.shown.size(), 1u);
    EXPECT_EQ(machine.ui.shown[0],
              (doubles::ShownBox{"System Error: Access is denied.\r\n!", "", 0x10}));
    EXPECT_EQ(machine.faults.Count(doubles::Call::RegOpenKey), 0);
}

TEST_F(Detection, CurrentDirectoryWithoutMemoryForItShowsTheAllocationError) {
    machine.system.SetLastError(win::kErrorNotEnoughMemory);
    const auto noMemory = [](std::size_t) { return std::unique_ptr<char[]>(); };
    EXPECT_EQ(detect::ReadHomeLetter(machine.os, noMemory), std::nullopt);
    ASSERT_EQ(machine.ui.shown.size(), 1u);
    EXPECT_EQ(machine.ui.shown[0],
              (doubles::ShownBox{"Can't allocate memory to perform operation\r\nError: Not "
                                 "enough storage is available to process this command.\r\n!",
                                 "", 0x10}));
}

TEST_F(Detection, HomeLetterIsTheFirstCharacterOfTheCurrentDirectory) {
    machine.system.currentDirectory = "G:\\Stashwell";
    EXPECT_EQ(detect::ReadHomeLetter(machine.os), 'G');
    machine.system.currentDirectoryUnreadable = true;
    EXPECT_EQ(detect::ReadHomeLetter(machine.os), detect::kNoHomeLetter);
    EXPECT_TRUE(machine.ui.shown.empty());
}

}  // namespace
