#include <optional>

#include "detect/detect.h"
#include "detect/drive_letter_9x.h"
#include "detect/drive_letter_nt.h"
#include "detect/drive_tables.h"
#include "detect/home_letter.h"
#include "detect/platform_test.h"

namespace detect {

namespace {

// On the NT family a Prism disk is listed under one ID for both groups: a
// step's letter stands only when the device count found the step's group.
bool GroupStands(int variant, int mix) {
    if (variant == kVariantOrca) {
        return mix == kMixOrca || mix == kMixOrcaThird;
    }
    return mix == kMixKestrel || mix == kMixKestrelThird;
}

std::uint8_t StepLetterNt(platform::Platform& os, const CatalogueStep& step, int mix) {
    const std::uint8_t letter = GetDriveLetterNt(os, step.ntDiskPrefix);
    return GroupStands(step.variant, mix) ? letter : 0;
}

std::uint8_t StepLetter9x(platform::Registry& registry, const CatalogueStep& step) {
    for (IdList entry = step.list; **entry != '\0'; ++entry) {
        if (const std::uint8_t letter = GetDriveLetter9x(registry, *entry, step.hardwareKey9x)) {
            return letter;
        }
    }
    return 0;
}

}  // namespace

std::uint8_t DetectSupportedDrive(platform::Platform& os, int& variant) {
    variant = kVariantNone;
    const std::optional<std::uint8_t> home = ReadHomeLetter(os);
    if (!home) {
        return 0;
    }
    const int mix = CountSupportedDrives(os, IsNtPlatform(os.system));
    if (mix == kMixNone) {
        return 0;
    }
    const bool isNt = IsNtPlatform(os.system);
    std::uint8_t letters[kCatalogueSteps] = {};
    int chosen = -1;
    for (int step = 0; step < kCatalogueSteps && chosen < 0; ++step) {
        const CatalogueStep& entry = g_DetectionCatalogue[step];
        letters[step] = isNt ? StepLetterNt(os, entry, mix) : StepLetter9x(os.registry, entry);
        if (letters[step] != 0 && letters[step] == *home) {
            chosen = step;  // the drive the installer runs from wins
        }
    }
    for (int step = 0; step < kCatalogueSteps && chosen < 0; ++step) {
        if (letters[step] != 0) {
            chosen = step;
        }
    }
    if (chosen < 0) {
        return 0;
    }
    variant = g_DetectionCatalogue[chosen].variant;
    return letters[chosen];
}

}  // namespace detect
