// stashwell-pack verify --manifest: does an installer hold exactly the
// modules a manifest lists?
#pragma once

#include <string>
#include <vector>

#include "manifest.h"
#include "store_reader.h"

namespace pack {

// One line per difference between the store and the manifest's entries, in
// the manifest's order: an entry missing from the store, a module the
// manifest does not list (extra), a module appended out of the manifest's
// order (reordered), content that differs from the entry's source (changed
// content), and a tag, file name, extract path or attributes that differ
// (changed field). A module is paired with the entry of its tag, extract
// path and file name, or else with the entry at its own place, when that
// entry has no module of its own. Empty when the two agree.
std::vector<std::string> CompareWithManifest(const StoreContents& contents,
                                             const std::vector<ManifestEntry>& entries);

}  // namespace pack
