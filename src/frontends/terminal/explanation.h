// How a detection came about, retold from its trail: as one JSON document
// for tools, and as text for a person, in the order the detection went.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "detection_trail.h"

namespace setup {

// {"family", "homeLetter", "count": {"registry", "groups", "mix"},
//  "steps": [{"step", "list", "diskId", "lookups": [{"usbId", "registry",
//  "letter", "why"}], "letter", "why"}], "verdict"}. Registry texts, 8-bit
// in Windows-1252, are given in UTF-8.
nlohmann::json ExplanationAsJson(const DetectionTrail& trail);

// The same as lines of text; every text that comes from the registry has
// its control characters escaped (\n, \x1b).
std::string ExplanationAsText(const nlohmann::json& explanation);

}  // namespace setup
