// The trail of one detection: what DetectSupportedDrive found at each point,
// as its observer hears it, with the registry calls that led there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "detect/detection_observer.h"
#include "platform/platform.h"
#include "tracing_registry.h"

namespace setup {

struct GroupFinding {
    const detect::DriveGroup* group;
    detect::IdList list;  // with entry: the first entry that matched; null for none
    const char* entry;
    std::string text;  // the registry string it matched
};

struct LookupFinding {
    const char* usbId;  // the list entry tried on the 95 family; null on the NT family
    detect::LetterLookup lookup;
    std::vector<RegistryCall> calls;
};

struct StepFinding {
    int step;
    std::vector<LookupFinding> lookups;
    std::uint8_t letter;
    bool filtered;
};

struct DetectionTrail {
    bool ntFamily = true;
    bool homeRead = false;  // whether the home letter was asked for
    std::optional<std::uint8_t> home;
    std::vector<RegistryCall> countCalls;
    std::vector<GroupFinding> groups;
    std::optional<int> mix;
    std::vector<StepFinding> steps;
    int chosenStep = -1;
    std::uint8_t letter = 0;
    int variant = -1;
    detect::VerdictReason reason = detect::VerdictReason::kNoLetter;
};

// Runs DetectSupportedDrive on the machine with its registry traced, and
// returns the trail.
DetectionTrail TraceDetection(platform::Platform& os);

}  // namespace setup
