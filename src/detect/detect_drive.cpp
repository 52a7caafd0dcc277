#include <optional>

#include "detect/detect.h"
#include "detect/detection_observer.h"
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

std::uint8_t StepLetterNt(platform::Platform& os, int step, int mix, DetectionObserver& observer) {
    const CatalogueStep& entry = g_DetectionCatalogue[step];
    const LetterLookup lookup = LookUpLetterNt(os, entry.ntDiskPrefix);
    observer.LetterLookedUp(step, nullptr, lookup);
    const bool stands = GroupStands(entry.variant, mix);
    observer.StepDone(step, stands ? lookup.letter : 0, !stands && lookup.letter != 0);
    return stands ? lookup.letter : 0;
}

std::uint8_t StepLetter9x(platform::Registry& registry, int step, DetectionObserver& observer) {
    const CatalogueStep& catalogueStep = g_DetectionCatalogue[step];
    std::uint8_t letter = 0;
    for (IdList entry = catalogueStep.list; **entry != '\0' && letter == 0; ++entry) {
        const LetterLookup lookup = LookUpLetter9x(registry, *entry, catalogueStep.hardwareKey9x);
        observer.LetterLookedUp(step, *entry, lookup);
        letter = lookup.letter;
    }
    observer.StepDone(step, letter, false);
    return letter;
}

}  // namespace

std::uint8_t DetectSupportedDrive(platform::Platform& os, int& variant,
                                  DetectionObserver& observer) {
    variant = kVariantNone;
    const std::optional<std::uint8_t> home = ReadHomeLetter(os);
    observer.HomeLetterRead(home);
    if (!home) {
        observer.Verdict(-1, 0, variant, VerdictReason::kNoHome);
        return 0;
    }
    const int mix = CountSupportedDrives(os, IsNtPlatform(os.system), observer);
    if (mix == kMixNone) {
        observer.Verdict(-1, 0, variant, VerdictReason::kNoDrives);
        return 0;
    }
    const bool isNt = IsNtPlatform(os.system);
    std::uint8_t letters[kCatalogueSteps] = {};
    int chosen = -1;
    for (int step = 0; step < kCatalogueSteps && chosen < 0; ++step) {
        letters[step] = isNt ? StepLetterNt(os, step, mix, observer)
                             : StepLetter9x(os.registry, step, observer);
        if (letters[step] != 0 && letters[step] == *home) {
            chosen = step;  // the drive the installer runs from wins
        }
    }
    const VerdictReason reason =
        chosen < 0 ? VerdictReason::kFirstLetter : VerdictReason::kHomeDrive;
    for (int step = 0; step < kCatalogueSteps && chosen < 0; ++step) {
        if (letters[step] != 0) {
            chosen = step;
        }
    }
    if (chosen < 0) {
        observer.Verdict(-1, 0, variant, VerdictReason::kNoLetter);
        return 0;
    }
    variant = g_DetectionCatalogue[chosen].variant;
    observer.Verdict(chosen, letters[chosen], variant, reason);
    return letters[chosen];
}

}  // namespace detect
