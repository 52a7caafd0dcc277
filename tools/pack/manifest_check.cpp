#include "manifest_check.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <tuple>

#include "ansi_text.h"
#include "module_spec.h"
#include "sha256.h"

namespace pack {

namespace {

auto Identity(const ModuleSpec& spec) {
    return std::tie(spec.tag, spec.extractPath, spec.fileName);
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string Text(const std::string& ansi) {
    return "\"" + Utf8FromAnsi(ansi) + "\"";
}

// A stored module by its place in append order, its tag and target, such as
// installer module 3 ("NRVK_OEM_INSTALLER" "HelpFiles\Stash.hlp").
std::string ModuleLabel(std::size_t appended, const ModuleSpec& spec) {
    return "installer module " + std::to_string(appended + 1) + " (" + Text(spec.tag) + " " +
           Text(spec.extractPath.empty() ? spec.fileName
                                         : spec.extractPath + "\\" + spec.fileName) +
           ")";
}

void CompareFields(const std::string& label, const ModuleSpec& stored, const ModuleSpec& listed,
                   std::vector<std::string>& lines) {
    const auto field = [&](const char* name, const std::string& in, const std::string& wanted) {
        if (in != wanted) {
            lines.push_back(label + ": changed " + name + ": " + in + " in the installer, " +
                            wanted + " in the manifest");
        }
    };
    field("tag", Text(stored.tag), Text(listed.tag));
    field("file name", Text(stored.fileName), Text(listed.fileName));
    field("extract path", Text(stored.extractPath), Text(listed.extractPath));
    field("attributes", Hex(stored.attributes), Hex(listed.attributes));
}

}  // namespace

std::vector<std::string> CompareWithManifest(const StoreContents& contents,
                                             const std::vector<ManifestEntry>& entries) {
    // The store in append order, as the manifest lists it.
    std::vector<const StoredModule*> stored;
    std::vector<ModuleSpec> specs;
    stored.reserve(contents.modules.size());
    specs.reserve(contents.modules.size());
    for (auto module = contents.modules.rbegin(); module != contents.modules.rend(); ++module) {
        stored.push_back(&*module);
        specs.push_back(SpecOfHeader(module->header));
    }

    // Pair by identity first, then by place.
    std::vector<std::optional<std::size_t>> pairOf(entries.size());
    std::vector<bool> taken(stored.size(), false);
    for (std::size_t e = 0; e < entries.size(); ++e) {
        for (std::size_t m = 0; m < stored.size(); ++m) {
            if (!taken[m] && Identity(specs[m]) == Identity(entries[e].spec)) {
                pairOf[e] = m;
                taken[m] = true;
                break;
            }
        }
    }
    for (std::size_t e = 0; e < entries.size() && e < stored.size(); ++e) {
        if (!pairOf[e] && !taken[e]) {
            pairOf[e] = e;
            taken[e] = true;
        }
    }

    std::vector<std::string> lines;
    std::vector<std::size_t> pairedPlaces;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (pairOf[e]) {
            pairedPlaces.push_back(*pairOf[e]);
        }
    }
    std::sort(pairedPlaces.begin(), pairedPlaces.end());
    std::size_t rank = 0;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const ManifestEntry& entry = entries[e];
        if (!pairOf[e]) {
            lines.push_back(entry.label + ": missing from the installer");
            continue;
        }
        const std::size_t m = *pairOf[e];
        if (pairedPlaces[rank++] != m) {
            lines.push_back(entry.label + ": reordered: appended as module " +
                            std::to_string(m + 1) + ", where the manifest's order puts module " +
                            std::to_string(pairedPlaces[rank - 1] + 1));
        }
        CompareFields(entry.label, specs[m], entry.spec, lines);
        const std::string listedSha = FileSha256(entry.source);
        if (stored[m]->sha256 != listedSha) {
            lines.push_back(entry.label + ": changed content: sha256 " + stored[m]->sha256 +
                            " in the installer, " + listedSha + " in " + entry.source.string());
        }
    }
    for (std::size_t m = 0; m < stored.size(); ++m) {
        if (!taken[m]) {
            lines.push_back(ModuleLabel(m, specs[m]) + ": extra, not in the manifest");
        }
    }
    return lines;
}

}  // namespace pack
