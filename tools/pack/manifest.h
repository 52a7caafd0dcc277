// The manifest that lists the modules to pack, in the order they are
// appended:
//   {"modules": [{"source": "files/Stash.exe", "variant": "O",
//                 "fileName": "Stash.exe", "extractPath": "",
//                 "attributes": "0x80"}, ...]}
// "source" is relative to the manifest's folder; "variant" (one character)
// stands for the predefined tag of that drive variant, "tag" for any tag
// that begins with the store prefix. "fileName" defaults to the source's
// name, "extractPath" to the drive's root, "attributes" (a number or a
// "0x.." text) to 0x80. Texts are UTF-8 and go into the trailer in
// Windows-1252.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "module_spec.h"

namespace pack {

struct ManifestEntry {
    std::string label;  // "manifest entry 2 (files/Stash.hlp)", for messages
    std::filesystem::path source;
    ModuleSpec spec;
};

// The entries, each checked: its source is a readable file and its module
// passes ModuleDefect. Throws PackError naming the entry ("manifest entry 2
// (files/Stash.hlp): ...") or the manifest itself.
std::vector<ManifestEntry> LoadManifest(const std::filesystem::path& manifestPath);

}  // namespace pack
