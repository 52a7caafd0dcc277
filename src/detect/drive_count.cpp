#include <string>
#include <string_view>

#include "detect/config_manager_walk.h"
#include "detect/detect.h"
#include "detect/detection_observer.h"
#include "detect/hardware_id.h"
#include "detect/registry_readers.h"

namespace detect {

namespace {

// The groups in the order the passes test them.
enum Group { kKestrel, kOrca, kThird, kGroups };
const DriveGroup* const kPasses[kGroups] = {&g_KestrelGroup, &g_OrcaGroup, &g_ThirdGroup};

// Marks the pass's group when text matches it, and tells the observer.
bool MarkGroup(std::string_view text, int pass, bool (&present)[kGroups],
               DetectionObserver& observer) {
    const GroupEntry match = FindGroupEntry(text, *kPasses[pass]);
    if (match.entry != nullptr) {
        present[pass] = true;
        observer.GroupTested(*kPasses[pass], match.list, match.entry, text);
    }
    return present[pass];
}

void TellUnmatched(int pass, const bool (&present)[kGroups], DetectionObserver& observer) {
    if (!present[pass]) {
        observer.GroupTested(*kPasses[pass], nullptr, nullptr, {});
    }
}

// The USB storage service lists each drive plugged in as "0", "1", ...
void MarkGroupsNt(platform::Registry& registry, bool (&present)[kGroups],
                  DetectionObserver& observer) {
    RegistryKey drives(registry);
    if (drives.Open(win::kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\USBSTOR\\Enum",
                    win::kKeyRead) != win::kErrorSuccess) {
        return;
    }
    const int count = ReadEntryCount(drives);
    for (int pass = 0; pass < kGroups; ++pass) {
        for (int entry = 0; entry < count && !present[pass]; ++entry) {
            const std::string instance = ReadRegString(drives, std::to_string(entry).c_str());
            MarkGroup(instance, pass, present, observer);
        }
        TellUnmatched(pass, present, observer);
    }
}

void MarkGroups9x(platform::Registry& registry, bool (&present)[kGroups],
                  DetectionObserver& observer) {
    constexpr std::uint32_t kRoom = win::kMaxPath;
    for (int pass = 0; pass < kGroups; ++pass) {
        const WalkEnd end =
            WalkConfigManagerDevices(registry, kRoom, [&](const std::string& hardwareKey) {
                return MarkGroup(hardwareKey, pass, present, observer);
            });
        if (end == WalkEnd::kNotOpened) {
            return;
        }
        TellUnmatched(pass, present, observer);
    }
}

int Classify(const bool (&present)[kGroups]) {
    const bool k = present[kKestrel];
    const bool o = present[kOrca];
    const bool t = present[kThird];
    if (k && o && t) {
        return kMixAll;
    }
    if (o && t) {
        return kMixOrcaThird;
    }
    if (k && t) {
        return kMixKestrelThird;
    }
    if (k && o) {
        return kMixKestrelOrca;
    }
    if (t) {
        return kMixThird;
    }
    if (o) {
        return kMixOrca;
    }
    return k ? kMixKestrel : kMixNone;
}

}  // namespace

int CountSupportedDrives(platform::Platform& os, bool isNt, DetectionObserver& observer) {
    bool present[kGroups] = {};
    if (isNt) {
        MarkGroupsNt(os.registry, present, observer);
    } else {
        MarkGroups9x(os.registry, present, observer);
    }
    const int mix = Classify(present);
    observer.DrivesCounted(mix);
    return mix;
}

}  // namespace detect
