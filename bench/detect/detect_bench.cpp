// Time of one DetectSupportedDrive on crowded machines: the 95 family with
// 5,000 devices present, and the NT family with USB storage lists of 255
// entries (whose count, read as a signed byte, walks none) and of 127
// entries (the most that are walked). The supported drive is listed last,
// so every walk goes to the end.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "detect/detect.h"
#include "testbed/plugged_drives.h"

namespace {

// A USB stick that no list supports.
constexpr testbed::DriveModel kOtherStick{"USB\\Vid_0a5c&Pid_6301", "USBSTOR\\Disk&Ven_Mass",
                                          "SCSI\\MASS_STORAGE"};

void Detect(benchmark::State& state, testbed::TestMachine& machine, std::uint8_t expected) {
    for (auto _ : state) {
        int variant = 0;
        const std::uint8_t letter = detect::DetectSupportedDrive(machine.os, variant);
        if (letter != expected) {
            state.SkipWithError("detection found another drive");
            break;
        }
        benchmark::DoNotOptimize(variant);
    }
}

void BM_Detect9x5000Devices(benchmark::State& state) {
    testbed::TestMachine machine;
    machine.facts().platformId = win::kVerPlatformWin32Windows;
    for (int device = 0; device < 4998; ++device) {
        char hardwareKey[64];
        std::snprintf(hardwareKey, sizeof hardwareKey, "PCI\\VEN_8086&DEV_%04X\\BUS_00&DEV_%02X",
                      device, device % 32);
        testbed::AddDevice9x(machine.registryData, hardwareKey);
    }
    testbed::PlugIn(machine, testbed::kOrcaSlim, 'E');
    Detect(state, machine, 'E');
}
BENCHMARK(BM_Detect9x5000Devices)->Unit(benchmark::kMillisecond);

void BM_DetectNtUsbStorage(benchmark::State& state) {
    testbed::TestMachine machine;
    const auto entries = static_cast<int>(state.range(0));
    for (int stick = 0; stick + 1 < entries; ++stick) {
        testbed::PlugIn(machine, kOtherStick, 0);
    }
    testbed::PlugIn(machine, testbed::kOrcaSlim, 'E');
    Detect(state, machine, entries < 128 ? 'E' : 0);
}
BENCHMARK(BM_DetectNtUsbStorage)->Arg(255)->Arg(127)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
