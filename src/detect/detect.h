// Drive detection: which groups of supported drives are plugged in, and which
// single drive to install onto.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace detect {

// Variant codes.
inline constexpr int kVariantNone = -1;
inline constexpr int kVariantOrca = 1;
inline constexpr int kVariantKestrel = 2;

// DriveMix codes: an enumeration of the groups present, not a bit mask.
enum DriveMix : int {
    kMixNone = 0,
    kMixKestrel = 1,
    kMixOrca = 2,
    kMixThird = 3,
    kMixKestrelOrca = 4,
    kMixKestrelThird = 5,
    kMixOrcaThird = 6,
    kMixAll = 7,
};

class DetectionObserver;
DetectionObserver& NoObserver();

// The observer hears which entry of each group matched and the code.
int CountSupportedDrives(platform::Platform& os, bool isNt,
                         DetectionObserver& observer = NoObserver());

// The drive letter (0 for none, as stored by the registry otherwise); sets
// variant to -1 first, and to 1 or 2 when a letter is returned. The observer
// hears each finding on the way, from the home letter to the verdict.
std::uint8_t DetectSupportedDrive(platform::Platform& os, int& variant,
                                  DetectionObserver& observer = NoObserver());

}  // namespace detect
