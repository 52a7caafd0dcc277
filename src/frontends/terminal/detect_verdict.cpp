#include "detect_verdict.h"

#include "detect/detect.h"
#include "detect/platform_test.h"

namespace setup {

namespace {

std::string LetterText(std::uint8_t letter) {
    if (letter == 0) {
        return "none";
    }
    if (letter > ' ' && letter < 0x7F) {
        return std::string(1, static_cast<char>(letter));
    }
    return std::to_string(letter);
}

}  // namespace

std::string DetectVerdict(platform::Platform& os) {
    int variant = detect::kVariantNone;
    const std::uint8_t letter = detect::DetectSupportedDrive(os, variant);
    const int mix = detect::CountSupportedDrives(os, detect::IsNtPlatform(os.system));
    return "drive=" + LetterText(letter) + " variant=" + std::to_string(variant) +
           " mix=" + std::to_string(mix);
}

}  // namespace setup
