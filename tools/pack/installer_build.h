// stashwell-pack build: an installer made of a stub and the modules that a
// manifest lists.
#pragma once

#include <filesystem>

namespace pack {

// Writes the stub and the manifest's modules, in the manifest's order, to a
// temporary file beside out and renames it to out, so that a failed build
// leaves no installer behind. Beside it goes OUT.sha256, its digest in the
// form sha256sum -c reads; a build whose digest file would replace one of its
// inputs is refused before anything is written. Throws PackError.
void BuildInstaller(const std::filesystem::path& stub, const std::filesystem::path& manifest,
                    const std::filesystem::path& out);

}  // namespace pack
