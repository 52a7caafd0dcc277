// What stashwell-pack list and verify print about a store.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>

#include "store_reader.h"

namespace pack {

// One row per module in walk order, under a heading.
void PrintModuleTable(const StoreContents& contents, std::ostream& out);
// An array of objects with tag, fileName, extractPath, attributes,
// payloadSize, payloadOffset, trailerLength and sha256 (of the content as
// installed), in walk order; the texts,
// 8-bit in the ANSI code page (Windows-1252), in UTF-8.
nlohmann::json ModulesAsJson(const StoreContents& contents);
// The count of modules, the image and installer sizes, and the modules per
// tag.
void PrintSummary(const StoreContents& contents, std::ostream& out);

}  // namespace pack
