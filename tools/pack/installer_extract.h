// stashwell-pack extract: the modules of an installer written into a folder
// by the installer's own store operations, on the hosted platform.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace pack {

// Extracts every module, or those that FindModule matches for tag, to
// folder/<extractPath>/<fileName>, unscrambled and with their attributes,
// naming each file on report. Nothing is written when the store is defective
// or a target exists already. Throws PackError.
void ExtractInstaller(const std::filesystem::path& installer, const std::filesystem::path& folder,
                      const std::optional<std::string>& tag, std::ostream& report);

}  // namespace pack
