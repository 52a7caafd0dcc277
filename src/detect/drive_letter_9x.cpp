#include "detect/drive_letter_9x.h"

#include <string>
#include <string_view>
#include <vector>

#include "detect/config_manager_walk.h"
#include "detect/hardware_id.h"
#include "detect/registry_readers.h"

namespace detect {

namespace {

constexpr std::uint32_t kRoom = 520;

// The first byte of the disk's "CurrentDriveLetterAssignment"; none when it
// cannot be read or is empty.
LetterLookup ReadDriveLetterAssignment(platform::Registry& registry,
                                       const std::string& hardwareKey) {
    constexpr LetterLookup kUnassigned = {0, LookupMiss::kNoLetterAssignment};
    RegistryKey disk(registry);
    if (disk.Open(win::kHkeyLocalMachine, ("Enum\\" + hardwareKey).c_str(), win::kKeyQueryValue) !=
        win::kErrorSuccess) {
        return kUnassigned;
    }
    std::vector<std::uint8_t> assignment;
    if (QueryValue(disk, "CurrentDriveLetterAssignment", kRoom, assignment) != win::kErrorSuccess ||
        assignment.empty()) {
        return kUnassigned;
    }
    return {assignment[0],
            assignment[0] != 0 ? LookupMiss::kNone : LookupMiss::kNoLetterAssignment};
}

}  // namespace

LetterLookup LookUpLetter9x(platform::Registry& registry, const char* usbId, const char* scsiId) {
    const auto isUsbDevice = [usbId](const std::string& hardwareKey) {
        return MatchesHardwareId(hardwareKey, usbId);
    };
    if (WalkConfigManagerDevices(registry, kRoom, isUsbDevice) != WalkEnd::kStopped) {
        return {0, LookupMiss::kNoUsbDevice};
    }
    // The disk's hardware key is compared without the key's last character.
    const std::string_view disk(scsiId);
    const std::string_view diskStart = disk.substr(0, disk.empty() ? 0 : disk.size() - 1);
    LetterLookup letter = {0, LookupMiss::kNoDisk};
    WalkConfigManagerDevices(registry, kRoom, [&](const std::string& hardwareKey) {
        if (!hardwareKey.starts_with(diskStart)) {
            return false;
        }
        letter = ReadDriveLetterAssignment(registry, hardwareKey);
        return true;  // the first such disk decides, letter or not
    });
    return letter;
}

std::uint8_t GetDriveLetter9x(platform::Registry& registry, const char* usbId, const char* scsiId) {
    return LookUpLetter9x(registry, usbId, scsiId).letter;
}

}  // namespace detect
