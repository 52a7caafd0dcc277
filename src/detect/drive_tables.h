// The supported drives as data: the lists of USB hardware-ID prefixes, the
// groups they form and the detection catalogue that ties each list to a
// drive variant and to the ID under which the drive's disk is listed.
#pragma once

namespace detect {

// An ordered list of hardware-ID prefixes that ends with an empty entry.
using IdList = const char* const*;

extern const char* const g_KestrelGenericIds[];
extern const char* const g_KestrelPrismIds[];
extern const char* const g_OrcaSlimIds[];
extern const char* const g_OrcaPrismIds[];
extern const char* const g_CountOnlyIds[];

// The lists of one group; a group with a single list leaves the second null.
struct DriveGroup {
    IdList lists[2];
};

extern const DriveGroup g_KestrelGroup;
extern const DriveGroup g_OrcaGroup;
extern const DriveGroup g_ThirdGroup;

// One step of detection: the list to look for, the variant it reports, and
// the disk ID of such a drive on each family of Windows.
struct CatalogueStep {
    IdList list;
    int variant;
    const char* ntDiskPrefix;   // start of the disk's device instance path
    const char* hardwareKey9x;  // start of the disk's hardware key
};

inline constexpr int kCatalogueSteps = 4;
extern const CatalogueStep g_DetectionCatalogue[kCatalogueSteps];

}  // namespace detect
