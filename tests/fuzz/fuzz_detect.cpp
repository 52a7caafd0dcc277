// Drive detection on machines built from the input: its last bytes choose the
// family, current directory, drives recorded by the builders, logical drives and
// at most one failing call; the rest is a .reg file loaded over that registry.
// Properties: every key opened is closed; the count is a DriveMix code; a letter
// comes with variant 1 or 2, none with -1; on NT a letter is a logical drive from
// C to Z; a message box only for a failing call; without a fault, runs agree.
#include <fuzzer/FuzzedDataProvider.h>

#include "detect/detect.h"
#include "fuzz_check.h"
#include "platform/hosted/reg_file.h"
#include "testbed/plugged_drives.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);  // numbers come from the end, the text from the start
    testbed::TestMachine machine;
    const bool nt = in.ConsumeBool();
    machine.facts().platformId = nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
    machine.facts().currentDirectory = std::string(1, in.ConsumeIntegralInRange('@', 'Z')) + ":\\";
    machine.facts().currentDirectoryMode = in.PickValueInArray(
        {hosted::CurrentDirectoryMode::Readable, hosted::CurrentDirectoryMode::SizeOnly});
    const testbed::DriveModel models[] = {testbed::kOrcaSlim, testbed::kOrcaPrism,
                                          testbed::kKestrelGeneric, testbed::kKestrelPrism,
                                          testbed::kCountOnly};
    for (int drives = in.ConsumeIntegralInRange(0, 3); drives > 0; --drives) {
        const testbed::DriveModel& model = in.PickValueInArray(models);
        testbed::RecordDrive(machine, model,
                             in.ConsumeBool() ? in.ConsumeIntegralInRange('C', 'Z') : 0);
    }
    for (std::uint32_t mapped = in.ConsumeIntegral<std::uint32_t>(), at = 0; at < 26; ++at) {
        if ((mapped >> at & 1) != 0) {
            machine.AddDrive(static_cast<char>('A' + at));
        }
    }
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
        machine.faults.FailNthOverall(in.ConsumeIntegralInRange(1, 400), win::kErrorGenFailure);
    }
    std::string error;
    hosted::LoadRegBytes("fuzz.reg", in.ConsumeRemainingBytesAsString(), machine.registryData,
                         error);

    for (const bool family : {true, false}) {
        const int mix = detect::CountSupportedDrives(machine.os, family);
        Require(mix >= detect::kMixNone && mix <= detect::kMixAll, "the count is a DriveMix code");
    }
    std::uint8_t letters[2] = {};
    for (std::uint8_t& letter : letters) {
        int variant = 7;
        letter = detect::DetectSupportedDrive(machine.os, variant);
        Require(machine.registryData.OpenKeyCount() == 0, "detection closes every key");
        Require(letter == 0 ? variant == detect::kVariantNone
                            : variant == detect::kVariantOrca || variant == detect::kVariantKestrel,
                "a letter comes with variant 1 or 2, no letter with -1");
        Require(!nt || letter == 0 ||
                    (letter >= 'C' && letter <= 'Z' &&
                     (machine.system.GetLogicalDrives() >> (letter - 'A') & 1) != 0),
                "an NT-family letter is a logical drive from C to Z");
    }
    const bool faulted = !machine.faults.Injected().empty();
    Require(faulted || (machine.ui.shown.empty() && letters[0] == letters[1]),
            "without a failing call no message box is shown and two detections agree");
    return 0;
}
