// Drive detection on registry views built from the input: the USB storage,
// disk and mount lists of the NT family and the device list of the 95
// family, with "Count" values of any width, texts made of the supported IDs
// and arbitrary bytes, sized at and around the rooms that the lookups give
// them (233, 260, 520 and 1024 bytes), mount data of every length, system
// facts, and at most one failing platform call.
//
// Properties: every key opened is closed; the count is a DriveMix code; the
// detection gives a letter with variant 1 or 2, or 0 with variant -1; on the
// NT family a letter is one of the logical drives from C to Z; a message box
// is shown only for a failing call; without a fault two detections agree.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "detect/detect.h"
#include "detect/drive_letter_9x.h"
#include "detect/drive_letter_nt.h"
#include "detect/drive_tables.h"
#include "doubles/fake_machine.h"
#include "fuzz_check.h"

namespace {

using fuzz::Require;

constexpr win::HKEY kHklm = win::kHkeyLocalMachine;
constexpr std::size_t kRooms[] = {0, 4, 27, 233, 260, 520, 1024};
constexpr std::size_t kLongest = 1100;
constexpr int kMostEntries = 6;

// The texts that the detection looks for, so that the input can reach its
// deeper steps.
std::vector<std::string> Vocabulary() {
    std::vector<std::string> words{"\\??\\STORAGE#RemovableMedia#", "&Rev_1.00\\", "\\", "8&1&0",
                                   "&RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}"};
    for (detect::IdList list :
         {detect::g_KestrelGenericIds, detect::g_KestrelPrismIds, detect::g_OrcaSlimIds,
          detect::g_OrcaPrismIds, detect::g_CountOnlyIds}) {
        for (detect::IdList entry = list; **entry != '\0'; ++entry) {
            words.emplace_back(*entry);
        }
    }
    for (const detect::CatalogueStep& step : detect::g_DetectionCatalogue) {
        words.emplace_back(step.ntDiskPrefix);
        words.emplace_back(step.hardwareKey9x);
    }
    return words;
}

class ViewBuilder {
  public:
    ViewBuilder(FuzzedDataProvider& in, hosted::MemoryRegistry& registry)
        : in_(in), registry_(registry) {}

    // A few pieces, each a known ID or arbitrary bytes, maybe in another
    // letter case, then maybe cut or padded to a room.
    std::string Text() {
        static const std::vector<std::string> words = Vocabulary();
        std::string text;
        for (int parts = in_.ConsumeIntegralInRange(0, 3); parts > 0; --parts) {
            text += in_.ConsumeBool()
                        ? words[in_.ConsumeIntegralInRange<std::size_t>(0, words.size() - 1)]
                        : in_.ConsumeRandomLengthString(24);
        }
        if (in_.ConsumeBool()) {
            for (char& c : text) {
                c = static_cast<char>(c ^ (in_.ConsumeBool() ? 0x20 : 0));
            }
        }
        return Sized(std::move(text));
    }

    // Drives plugged in as the NT family lists them: the USB storage
    // service's entries, the disk service's entries with their
    // "ParentIdPrefix", the mount table and the logical drives.
    void NtFamily(std::uint32_t& logicalDrives) {
        const std::string usbList = "System\\CurrentControlSet\\Services\\USBSTOR\\Enum";
        const std::string diskList = "System\\CurrentControlSet\\Services\\Disk\\Enum";
        const int drives = in_.ConsumeIntegralInRange(0, kMostEntries);
        Count(usbList, drives);
        Count(diskList, drives);
        registry_.CreateKey(kHklm, "System\\MountedDevices");
        for (int i = 0; i < drives; ++i) {
            const std::string serial = in_.ConsumeRandomLengthString(8);
            const std::string number = std::to_string(i);
            SetText(kHklm, usbList, number, Vary(UsbId() + "\\" + serial));
            const std::string disk =
                Vary(std::string(Step().ntDiskPrefix) + "&Rev_1.00\\" + serial);
            SetText(kHklm, diskList, number, disk);
            const std::string parentId = Vary("8&" + serial + "&0");
            if (in_.ConsumeIntegralInRange(0, 7) != 0) {
                SetText(kHklm, "System\\CurrentControlSet\\Enum\\" + disk, "ParentIdPrefix",
                        parentId);
            }
            const char letter = static_cast<char>(in_.ConsumeIntegralInRange<int>('A', 'Z' + 1));
            if (in_.ConsumeIntegralInRange(0, 7) != 0) {
                logicalDrives |= 1u << (letter - 'A');
            }
            registry_.SetValue(kHklm, "System\\MountedDevices",
                               std::string("\\DosDevices\\") + letter + ":", hosted::kRegBinary,
                               Utf16(Vary("\\??\\STORAGE#RemovableMedia#" + parentId +
                                          "&RM#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}")));
        }
    }

    // Drives plugged in as the 95 family lists them: a USB device and a disk
    // device each under "Config Manager\Enum", the disk's letter assignment
    // under its hardware key, and now and then a device without a hardware
    // key.
    void Family95() {
        registry_.CreateKey(win::kHkeyDynData, "Config Manager\\Enum");
        for (int i = 0, drives = in_.ConsumeIntegralInRange(0, kMostEntries); i < drives; ++i) {
            const std::string serial = in_.ConsumeRandomLengthString(8);
            Device95(Vary(UsbId() + "\\" + serial));
            const std::string disk = Vary(std::string(Step().hardwareKey9x) + "\\" + serial);
            Device95(disk);
            if (in_.ConsumeIntegralInRange(0, 7) != 0) {
                SetText(kHklm, "Enum\\" + disk, "CurrentDriveLetterAssignment",
                        Vary(std::string(1, in_.ConsumeIntegralInRange<char>('C', 'Z'))));
            }
        }
    }

  private:
    // The text that a plugged drive has there, or now and then another one:
    // a vocabulary soup, or the text cut, padded or in another letter case.
    std::string Vary(std::string meant) {
        switch (in_.ConsumeIntegralInRange(0, 5)) {
            case 0:
                return Text();
            case 1:
                return Sized(std::move(meant));
            case 2:
                for (char& c : meant) {
                    c = static_cast<char>(c ^ (in_.ConsumeBool() ? 0x20 : 0));
                }
                return meant;
            default:
                return meant;
        }
    }

    // "Count": the number of entries, a number of any width, or none.
    void Count(const std::string& key, int entries) {
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0:
                registry_.SetValue(
                    kHklm, key, "Count", hosted::kRegDword,
                    in_.ConsumeBytes<std::uint8_t>(in_.ConsumeIntegralInRange(0, 6)));
                break;
            case 1:
                break;
            default:
                registry_.SetDword(kHklm, key, "Count", static_cast<std::uint32_t>(entries));
        }
    }

    // A string value with its terminator, or, now and then, without one.
    void SetText(win::HKEY root, const std::string& key, const std::string& name,
                 const std::string& text) {
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        if (in_.ConsumeIntegralInRange(0, 7) != 0) {
            bytes.push_back(0);
        }
        registry_.SetValue(root, key, name, hosted::kRegSz, std::move(bytes));
    }

    // The text as UTF-16LE, cut now and then at any byte.
    std::vector<std::uint8_t> Utf16(const std::string& text) {
        std::vector<std::uint8_t> data;
        for (char c : text) {
            data.push_back(static_cast<std::uint8_t>(c));
            data.push_back(0);
        }
        if (in_.ConsumeIntegralInRange(0, 3) == 0) {
            data.resize(in_.ConsumeIntegralInRange<std::size_t>(0, data.size()));
        }
        return data;
    }

    void Device95(const std::string& hardwareKey) {
        const std::string device = "Config Manager\\Enum\\" + Sized(std::to_string(devices_++));
        registry_.CreateKey(win::kHkeyDynData, device);
        if (in_.ConsumeIntegralInRange(0, 15) != 0) {
            SetText(win::kHkeyDynData, device, "HardWareKey", hardwareKey);
        }
    }

    // An entry of any of the five hardware-ID lists.
    std::string UsbId() {
        const detect::IdList lists[] = {detect::g_KestrelGenericIds, detect::g_KestrelPrismIds,
                                        detect::g_OrcaSlimIds, detect::g_OrcaPrismIds,
                                        detect::g_CountOnlyIds};
        const detect::IdList list = in_.PickValueInArray(lists);
        std::size_t length = 0;
        while (*list[length] != '\0') {
            ++length;
        }
        return list[in_.ConsumeIntegralInRange<std::size_t>(0, length - 1)];
    }

    const detect::CatalogueStep& Step() {
        return detect::g_DetectionCatalogue[in_.ConsumeIntegralInRange(
            0, detect::kCatalogueSteps - 1)];
    }

    std::string Sized(std::string text) {
        switch (in_.ConsumeIntegralInRange(0, 2)) {
            case 0:
                return text;
            case 1: {
                const auto room = static_cast<long>(in_.PickValueInArray(kRooms)) +
                                  in_.ConsumeIntegralInRange(-2, 2);
                text.resize(static_cast<std::size_t>(std::max(room, 0L)), 'x');
                return text;
            }
            default:
                text.resize(in_.ConsumeIntegralInRange<std::size_t>(0, kLongest), 'y');
                return text;
        }
    }

    FuzzedDataProvider& in_;
    hosted::MemoryRegistry& registry_;
    int devices_ = 0;
};

void RequireKeysClosed(const doubles::FakeMachine& machine, const std::string& after) {
    Require(machine.registryData.OpenKeyCount() == 0, after + " closes every key");
}

struct Detection {
    std::uint8_t letter;
    int variant;
    bool operator==(const Detection&) const = default;
};

Detection Detect(doubles::FakeMachine& machine) {
    Detection detection{0, 7};
    detection.letter = detect::DetectSupportedDrive(machine.os, detection.variant);
    RequireKeysClosed(machine, "DetectSupportedDrive");
    if (detection.letter == 0) {
        Require(detection.variant == detect::kVariantNone, "no letter comes with variant -1");
    } else {
        Require(detection.variant == detect::kVariantOrca ||
                    detection.variant == detect::kVariantKestrel,
                "a letter comes with variant 1 or 2");
    }
    return detection;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    doubles::FakeMachine machine;
    const std::uint32_t platformIds[] = {win::kVerPlatformWin32s, win::kVerPlatformWin32Windows,
                                         win::kVerPlatformWin32Nt, 3};
    machine.system.platformId = in.PickValueInArray(platformIds);
    machine.system.logicalDrives = in.ConsumeBool() ? in.ConsumeIntegral<std::uint32_t>() : 1u << 2;
    machine.system.currentDirectory = in.ConsumeRandomLengthString(8);
    machine.system.currentDirectoryUnreadable = in.ConsumeIntegralInRange(0, 7) == 0;
    const int failingCall =
        in.ConsumeIntegralInRange(0, 15) == 0 ? in.ConsumeIntegralInRange(1, 400) : 0;
    ViewBuilder view(in, machine.registryData);
    view.NtFamily(machine.system.logicalDrives);
    view.Family95();
    if (failingCall != 0) {
        machine.faults.FailNthOverall(failingCall, win::kErrorGenFailure);
    }

    for (bool isNt : {true, false}) {
        const int mix = detect::CountSupportedDrives(machine.os, isNt);
        RequireKeysClosed(machine, "CountSupportedDrives");
        Require(mix >= detect::kMixNone && mix <= detect::kMixAll, "the count is a DriveMix code");
    }
    for (const detect::CatalogueStep& step : detect::g_DetectionCatalogue) {
        const std::uint8_t letter = detect::GetDriveLetterNt(machine.os, step.ntDiskPrefix);
        RequireKeysClosed(machine, "GetDriveLetterNt");
        Require(letter == 0 || (letter >= 'C' && letter <= 'Z' &&
                                (machine.system.logicalDrives >> (letter - 'A') & 1) != 0),
                "an NT-family letter is a logical drive from C to Z");
        detect::GetDriveLetter9x(machine.os.registry, step.list[0], step.hardwareKey9x);
        RequireKeysClosed(machine, "GetDriveLetter9x");
    }
    const Detection first = Detect(machine);
    const Detection second = Detect(machine);
    const bool faulted = !machine.faults.Injected().empty();
    Require(faulted || machine.ui.shown.empty(), "a message box is shown only for a failing call");
    Require(faulted || first == second, "two detections of one machine agree");
    return 0;
}
