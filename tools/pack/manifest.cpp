#include "manifest.h"

#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "ansi_text.h"
#include "pack_error.h"
#include "store/module_tags.h"

namespace pack {

namespace {

using nlohmann::json;

std::string TagOf(const json& module) {
    if (module.contains("variant") == module.contains("tag")) {
        throw PackError("needs either \"variant\" or \"tag\"");
    }
    if (module.contains("tag")) {
        return module.at("tag").get<std::string>();
    }
    const std::string variant = module.at("variant").get<std::string>();
    if (variant.size() != 1) {
        throw PackError("variant \"" + variant + "\" is not one character");
    }
    return store::kPredefinedPrefix + variant;
}

std::uint32_t AttributesOf(const json& module) {
    if (!module.contains("attributes")) {
        return win::kFileAttributeNormal;
    }
    const json& value = module.at("attributes");
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number <= std::numeric_limits<std::uint32_t>::max()) {
            return static_cast<std::uint32_t>(number);
        }
    } else if (value.is_string()) {
        const std::string text = value.get<std::string>();
        std::size_t used = 0;
        try {
            const unsigned long number = std::stoul(text, &used, 0);
            if (used == text.size() && number <= std::numeric_limits<std::uint32_t>::max()) {
                return static_cast<std::uint32_t>(number);
            }
        } catch (const std::exception&) {
            // falls through to the error below
        }
    }
    throw PackError("attributes " + value.dump() + " are not a 32-bit number");
}

ManifestEntry EntryOf(const json& module, const std::filesystem::path& folder) {
    if (!module.is_object()) {
        throw PackError("is not an object");
    }
    ManifestEntry entry;
    entry.source = folder / module.at("source").get<std::string>();
    entry.spec.tag = AnsiFromUtf8(TagOf(module));
    entry.spec.fileName = AnsiFromUtf8(module.value("fileName", entry.source.filename().string()));
    entry.spec.extractPath = AnsiFromUtf8(module.value("extractPath", std::string()));
    entry.spec.attributes = AttributesOf(module);
    if (const std::string defect = ModuleDefect(entry.spec); !defect.empty()) {
        throw PackError(defect);
    }
    RequireReadable(entry.source, "source");
    return entry;
}

}  // namespace

std::vector<ManifestEntry> LoadManifest(const std::filesystem::path& manifestPath) {
    RequireReadable(manifestPath, "manifest");
    std::ifstream in(manifestPath);
    json manifest;
    try {
        manifest = json::parse(in);
    } catch (const json::exception& e) {
        throw PackError("manifest " + manifestPath.string() + " is not JSON: " + e.what());
    }
    if (!manifest.is_object() || !manifest.contains("modules") || !manifest["modules"].is_array()) {
        throw PackError("manifest " + manifestPath.string() + " has no \"modules\" array");
    }

    std::vector<ManifestEntry> entries;
    const std::filesystem::path folder = manifestPath.parent_path();
    const json& modules = manifest["modules"];
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const json& module = modules[i];
        const std::string source =
            module.is_object() && module.contains("source") && module["source"].is_string()
                ? module["source"].get<std::string>()
                : "no source";
        const std::string label = "manifest entry " + std::to_string(i) + " (" + source + ")";
        try {
            entries.push_back(EntryOf(module, folder));
        } catch (const std::exception& e) {
            throw PackError(label + ": " + e.what());
        }
        entries.back().label = label;
    }
    return entries;
}

}  // namespace pack
