#include "detect/drive_letter_nt.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "detect/registry_readers.h"

namespace detect {

namespace {

constexpr std::string_view kMountPrefix = "\\??\\STORAGE#RemovableMedia#";
// The expected mount text, this start and the prefix, must fit 260 bytes.
constexpr auto kParentIdRoom = static_cast<std::uint32_t>(win::kMaxPath - kMountPrefix.size());

// The "ParentIdPrefix" of a disk instance; nothing when it cannot be read.
std::optional<std::string> ReadParentIdPrefix(platform::Registry& registry,
                                              const std::string& instancePath) {
    RegistryKey instance(registry);
    {
        RegistryKey devices(registry);
        if (devices.Open(win::kHkeyLocalMachine, "System\\CurrentControlSet\\Enum",
                         win::kKeyRead) != win::kErrorSuccess ||
            instance.Open(devices.Handle(), instancePath.c_str(), win::kKeyRead) !=
                win::kErrorSuccess) {
            return std::nullopt;
        }
    }
    std::string parentIdPrefix;
    if (QueryString(instance, "ParentIdPrefix", kParentIdRoom, parentIdPrefix) !=
        win::kErrorSuccess) {
        return std::nullopt;
    }
    return parentIdPrefix;
}

// True when the UTF-16 mount target begins with the expected text; a target
// shorter than that text never matches, and nothing past its data is read.
bool MountTargetBeginsWith(platform::System& system, const std::vector<std::uint8_t>& target,
                           const std::string& expected) {
    const std::size_t units = expected.size();
    if (target.size() / 2 < units) {
        return false;
    }
    std::vector<std::uint16_t> wide(units);
    for (std::size_t i = 0; i < units; ++i) {
        wide[i] = static_cast<std::uint16_t>(target[2 * i] | target[2 * i + 1] << 8);
    }
    char converted[win::kMaxPath];
    const int length = system.WideCharToMultiByte(wide.data(), static_cast<int>(units), converted,
                                                  sizeof converted);
    return length >= static_cast<int>(expected.size()) &&
           std::equal(expected.begin(), expected.end(), converted);
}

}  // namespace

int FindDiskEnumEntry(platform::Registry& registry, std::string* out, const char* prefix) {
    RegistryKey disks(registry);
    if (disks.Open(win::kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\Disk\\Enum",
                   win::kKeyRead) != win::kErrorSuccess) {
        return -1;
    }
    const int count = ReadEntryCount(disks);
    for (int index = 0; index < count; ++index) {
        const std::string entry = ReadRegString(disks, std::to_string(index).c_str());
        // Cut to fit, a longer entry could name another device's key.
        if (entry.starts_with(prefix) && entry.size() < win::kMaxPath) {
            if (out != nullptr) {
                *out = entry;
            }
            return index;
        }
    }
    return -1;
}

LetterLookup LookUpLetterNt(platform::Platform& os, const char* prefix) {
    std::string instancePath;
    if (FindDiskEnumEntry(os.registry, &instancePath, prefix) < 0) {
        return {0, LookupMiss::kNoDiskEntry};
    }
    const std::optional<std::string> parentIdPrefix = ReadParentIdPrefix(os.registry, instancePath);
    if (!parentIdPrefix) {
        return {0, LookupMiss::kNoParentIdPrefix};
    }
    const std::string expected = std::string(kMountPrefix) + *parentIdPrefix;
    RegistryKey mounts(os.registry);
    if (mounts.Open(win::kHkeyLocalMachine, "System\\MountedDevices", win::kKeyRead) !=
        win::kErrorSuccess) {
        return {0, LookupMiss::kNoMountTable};
    }
    const std::uint32_t drives = os.system.GetLogicalDrives();
    LookupMiss miss = LookupMiss::kNoMountEntry;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string name = std::string("\\DosDevices\\") + letter + ":";
        std::vector<std::uint8_t> target;
        if (QueryValue(mounts, name.c_str(), win::kMaxPath, target) != win::kErrorSuccess ||
            !MountTargetBeginsWith(os.system, target, expected)) {
            continue;
        }
        if ((drives >> (letter - 'A') & 1) != 0) {
            return {static_cast<std::uint8_t>(letter), LookupMiss::kNone};
        }
        miss = LookupMiss::kNotLogicalDrive;
    }
    return {0, miss};
}

std::uint8_t GetDriveLetterNt(platform::Platform& os, const char* prefix) {
    return LookUpLetterNt(os, prefix).letter;
}

}  // namespace detect
