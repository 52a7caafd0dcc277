#include "explanation.h"

#include <cstdio>
#include <string_view>

#include "detect/detect.h"
#include "detect/home_letter.h"
#include "platform/hosted/codepage_1252.h"
#include "platform/hosted/error_text.h"
#include "platform/hosted/memory_registry.h"

namespace setup {

namespace {

using nlohmann::json;

const char* ListName(detect::IdList list) {
    struct Named {
        detect::IdList list;
        const char* name;
    };
    static const Named kLists[] = {
        {detect::g_KestrelGenericIds, "g_KestrelGenericIds"},
        {detect::g_KestrelPrismIds, "g_KestrelPrismIds"},
        {detect::g_OrcaSlimIds, "g_OrcaSlimIds"},
        {detect::g_OrcaPrismIds, "g_OrcaPrismIds"},
        {detect::g_CountOnlyIds, "g_CountOnlyIds"},
    };
    for (const Named& named : kLists) {
        if (named.list == list) {
            return named.name;
        }
    }
    return "?";
}

const char* GroupName(const detect::DriveGroup* group) {
    if (group == &detect::g_KestrelGroup) {
        return "Kestrel group";
    }
    return group == &detect::g_OrcaGroup ? "Orca group" : "third group";
}

const char* MixMeaning(int mix) {
    static const char* const kMeanings[] = {
        "no supported drive",    "Kestrel group only",      "Orca group only",
        "third group only",      "Kestrel and Orca groups", "Kestrel and third groups",
        "Orca and third groups", "all three groups",
    };
    return mix >= 0 && mix < 8 ? kMeanings[mix] : "?";
}

const char* MissMeaning(detect::LookupMiss miss) {
    switch (miss) {
        case detect::LookupMiss::kNone:
            return "a letter";
        case detect::LookupMiss::kNoDiskEntry:
            return "no disk entry: no disk of the disk service begins with the disk ID";
        case detect::LookupMiss::kNoParentIdPrefix:
            return "no ParentIdPrefix: the disk's instance key or its \"ParentIdPrefix\" cannot "
                   "be read";
        case detect::LookupMiss::kNoMountTable:
            return "no mount table: \"System\\MountedDevices\" cannot be opened";
        case detect::LookupMiss::kNoMountEntry:
            return "no mount entry: no letter from C to Z is mounted on the disk's volume";
        case detect::LookupMiss::kNotLogicalDrive:
            return "not a logical drive: the letters mounted on the disk's volume are not "
                   "among the logical drives";
        case detect::LookupMiss::kNoUsbDevice:
            return "no device with this hardware ID is present";
        case detect::LookupMiss::kNoDisk:
            return "no device with the disk's hardware key is present";
        case detect::LookupMiss::kNoLetterAssignment:
            return "the first device with the disk's hardware key has no "
                   "\"CurrentDriveLetterAssignment\"";
    }
    return "?";
}

const char* VerdictMeaning(detect::VerdictReason reason) {
    switch (reason) {
        case detect::VerdictReason::kHomeDrive:
            return "its letter is the home letter: the drive of the current directory is "
                   "preferred";
        case detect::VerdictReason::kFirstLetter:
            return "no letter is the home letter: the first step with a letter wins";
        case detect::VerdictReason::kNoHome:
            return "the current directory cannot be sized, or no memory can be had for it: "
                   "detection ends with a message";
        case detect::VerdictReason::kNoDrives:
            return "the device count found no supported drive";
        case detect::VerdictReason::kNoLetter:
            return "no step gave a letter";
    }
    return "?";
}

// A letter as text: the character when it is printable, its byte value
// otherwise; null for none.
json LetterJson(std::uint8_t letter) {
    if (letter == 0) {
        return nullptr;
    }
    if (letter > ' ' && letter < 0x7F) {
        return std::string(1, static_cast<char>(letter));
    }
    return "byte " + std::to_string(letter);
}

std::string ResultMeaning(std::uint32_t code) {
    std::string text = hosted::SystemMessageText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text.empty() ? "unknown error" : text;
}

std::string TypeName(std::uint32_t type) {
    switch (type) {
        case hosted::kRegSz:
            return "REG_SZ";
        case hosted::kRegExpandSz:
            return "REG_EXPAND_SZ";
        case hosted::kRegBinary:
            return "REG_BINARY";
        case hosted::kRegDword:
            return "REG_DWORD";
        case hosted::kRegMultiSz:
            return "REG_MULTI_SZ";
        default:
            return "type " + std::to_string(type);
    }
}

// UTF-16 text of one 8-bit character per unit, as mount targets hold it;
// nothing when the data is not such a text.
std::optional<std::string> NarrowUtf16(const std::vector<std::uint8_t>& data) {
    if (data.empty() || data.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 0; i < data.size(); i += 2) {
        if (data[i + 1] != 0) {
            return std::nullopt;
        }
        text += static_cast<char>(data[i]);
    }
    return text;
}

// The data as the reader of the value takes it: text, a number or bytes.
void AddData(const RegistryCall& call, json& entry) {
    entry["type"] = TypeName(call.type);
    const std::string bytes(call.data.begin(), call.data.end());
    if (call.type == hosted::kRegSz || call.type == hosted::kRegExpandSz ||
        call.type == hosted::kRegMultiSz) {
        entry["data"] = hosted::Utf8FromWindows1252(bytes.substr(0, bytes.find('\0')));
    } else if (call.type == hosted::kRegDword && call.data.size() == 4) {
        entry["data"] = call.data[0] | call.data[1] << 8 | call.data[2] << 16 |
                        static_cast<std::uint32_t>(call.data[3]) << 24;
    } else if (const std::optional<std::string> text = NarrowUtf16(call.data)) {
        entry["data"] = hosted::Utf8FromWindows1252(*text);
        entry["utf16"] = true;
    } else {
        std::string hex;
        for (const std::uint8_t byte : call.data) {
            char digits[4];
            std::snprintf(digits, sizeof digits, "%02x", byte);
            hex += (hex.empty() ? "" : " ") + std::string(digits);
        }
        entry["data"] = hex;
    }
}

json CallsJson(const std::vector<RegistryCall>& calls) {
    static const char* const kKinds[] = {"open", "query", "enum"};
    json list = json::array();
    for (const RegistryCall& call : calls) {
        json entry = {{"call", kKinds[call.kind]},
                      {"key", hosted::Utf8FromWindows1252(call.key)},
                      {"result", call.result},
                      {"meaning", ResultMeaning(call.result)}};
        if (call.kind == RegistryCall::kQuery) {
            entry["value"] = hosted::Utf8FromWindows1252(call.name);
            if (call.result == win::kErrorSuccess) {
                AddData(call, entry);
            }
        } else if (call.kind == RegistryCall::kEnumerate) {
            entry["index"] = call.index;
            if (call.result == win::kErrorSuccess) {
                entry["subkey"] = hosted::Utf8FromWindows1252(call.name);
            }
        }
        list.push_back(entry);
    }
    return list;
}

json HomeJson(const DetectionTrail& trail) {
    if (!trail.home) {
        return {{"letter", nullptr},
                {"why", "the current directory cannot be sized, or no memory can be had for it"}};
    }
    if (*trail.home == detect::kNoHomeLetter) {
        return {{"letter", nullptr},
                {"why", "the current directory can be sized but not read (home letter 255)"}};
    }
    return {{"letter", LetterJson(*trail.home)},
            {"why", "the current directory's first character"}};
}

json CountJson(const DetectionTrail& trail) {
    json groups = json::array();
    for (const GroupFinding& finding : trail.groups) {
        json group = {{"group", GroupName(finding.group)}, {"list", nullptr}};
        if (finding.entry != nullptr) {
            group["list"] = ListName(finding.list);
            group["entry"] = finding.entry;
            group["matched"] = hosted::Utf8FromWindows1252(finding.text);
        }
        groups.push_back(group);
    }
    json count = {{"registry", CallsJson(trail.countCalls)}, {"groups", groups}};
    if (trail.mix) {
        count["mix"] = {{"code", *trail.mix}, {"meaning", MixMeaning(*trail.mix)}};
    }
    return count;
}

json StepJson(const StepFinding& step, bool ntFamily, int mix) {
    const detect::CatalogueStep& entry = detect::g_DetectionCatalogue[step.step];
    json lookups = json::array();
    for (const LookupFinding& lookup : step.lookups) {
        json item = {{"registry", CallsJson(lookup.calls)},
                     {"letter", LetterJson(lookup.lookup.letter)},
                     {"why", MissMeaning(lookup.lookup.miss)}};
        if (lookup.usbId != nullptr) {
            item["usbId"] = lookup.usbId;
        }
        lookups.push_back(item);
    }
    std::string why = "a letter";
    if (step.filtered) {
        const json found = LetterJson(step.lookups.empty() ? 0 : step.lookups.back().lookup.letter);
        why = "group filtered out on the NT family: letter " +
              (found.is_null() ? std::string("none") : found.get<std::string>()) +
              " dropped, as DriveMix " + std::to_string(mix) + " is not " +
              (entry.variant == detect::kVariantOrca ? "2 or 6" : "1 or 5");
    } else if (step.letter == 0 && !step.lookups.empty()) {
        why = ntFamily ? MissMeaning(step.lookups.back().lookup.miss)
                       : "no entry of the list gave a letter";
    }
    return {{"step", step.step + 1},
            {"list", ListName(entry.list)},
            {"diskId", ntFamily ? entry.ntDiskPrefix : entry.hardwareKey9x},
            {"lookups", lookups},
            {"letter", LetterJson(step.letter)},
            {"why", why}};
}

}  // namespace

json ExplanationAsJson(const DetectionTrail& trail) {
    json steps = json::array();
    for (const StepFinding& step : trail.steps) {
        steps.push_back(StepJson(step, trail.ntFamily, trail.mix.value_or(0)));
    }
    json verdict = {{"drive", LetterJson(trail.letter)},
                    {"variant", trail.variant},
                    {"step", trail.chosenStep < 0 ? json(nullptr) : json(trail.chosenStep + 1)},
                    {"why", VerdictMeaning(trail.reason)}};
    json explanation = {{"family", trail.ntFamily ? "NT" : "95"}, {"homeLetter", HomeJson(trail)}};
    if (trail.home) {
        explanation["count"] = CountJson(trail);
    }
    explanation["steps"] = steps;
    explanation["verdict"] = verdict;
    return explanation;
}

namespace {

// A text from the registry for a terminal: control characters escaped, the
// C1 controls (UTF-8 C2 80 to C2 9F) too.
std::string Escaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (byte == 0xC2 && next >= 0x80 && next < 0xA0) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", next);
            out += code;
            ++i;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::string Quoted(const json& text) {
    return "\"" + Escaped(text.get<std::string>()) + "\"";
}

std::string LetterText(const json& letter) {
    return letter.is_null() ? "none" : Escaped(letter.get<std::string>());
}

void AppendCalls(const json& calls, const std::string& indent, std::string& out) {
    for (const json& call : calls) {
        std::string line = indent + call["call"].get<std::string>() + " " +
                           Escaped(call["key"].get<std::string>());
        if (call.contains("value")) {
            line += " " + Quoted(call["value"]);
        }
        if (call.contains("index")) {
            line += " #" + std::to_string(call["index"].get<std::uint32_t>());
        }
        // Success goes without its text; every error code comes with its meaning.
        const auto result = call["result"].get<std::uint32_t>();
        line += " -> " + std::to_string(result);
        if (result != win::kErrorSuccess) {
            line += " (" + call["meaning"].get<std::string>() + ")";
        }
        if (call.contains("subkey")) {
            line += ": " + Quoted(call["subkey"]);
        }
        if (call.contains("data")) {
            line += ": " + call["type"].get<std::string>() +
                    (call.contains("utf16") ? " as UTF-16 " : " ") +
                    (call["data"].is_string() ? Quoted(call["data"]) : call["data"].dump());
        }
        out += line + "\n";
    }
}

void AppendCount(const json& count, std::string& out) {
    out += "Device count:\n";
    AppendCalls(count["registry"], "  ", out);
    for (const json& group : count["groups"]) {
        out += "  " + group["group"].get<std::string>() + ": ";
        if (group["list"].is_null()) {
            out += "no registry string matched\n";
        } else {
            out += Quoted(group["matched"]) + " matched " + group["list"].get<std::string>() +
                   " entry " + Quoted(group["entry"]) + "\n";
        }
    }
    if (count.contains("mix")) {
        out += "  DriveMix " + std::to_string(count["mix"]["code"].get<int>()) + ": " +
               count["mix"]["meaning"].get<std::string>() + "\n";
    }
}

void AppendStep(const json& step, std::string& out) {
    out += "Step " + std::to_string(step["step"].get<int>()) + ", " +
           step["list"].get<std::string>() + ", disk " + Quoted(step["diskId"]) + ":\n";
    for (const json& lookup : step["lookups"]) {
        std::string indent = "  ";
        if (lookup.contains("usbId")) {
            out += "  entry " + Quoted(lookup["usbId"]) + ":\n";
            indent = "    ";
        }
        AppendCalls(lookup["registry"], indent, out);
        if (lookup.contains("usbId")) {
            out += indent + "-> letter " + LetterText(lookup["letter"]) + ": " +
                   lookup["why"].get<std::string>() + "\n";
        }
    }
    out += "  letter " + LetterText(step["letter"]);
    if (step["letter"].is_null()) {
        out += ": " + step["why"].get<std::string>();
    }
    out += "\n";
}

}  // namespace

std::string ExplanationAsText(const json& explanation) {
    std::string out = "Detection on the " + explanation["family"].get<std::string>() + " family\n";
    const json& home = explanation["homeLetter"];
    out +=
        "Home letter: " + LetterText(home["letter"]) + ", " + home["why"].get<std::string>() + "\n";
    if (explanation.contains("count")) {
        AppendCount(explanation["count"], out);
    }
    for (const json& step : explanation["steps"]) {
        AppendStep(step, out);
    }
    const json& verdict = explanation["verdict"];
    const int variant = verdict["variant"].get<int>();
    out += "Verdict: drive " + LetterText(verdict["drive"]) + ", variant " +
           std::to_string(variant) +
           (variant == detect::kVariantOrca      ? " (Orca)"
            : variant == detect::kVariantKestrel ? " (Kestrel)"
                                                 : "");
    if (!verdict["step"].is_null()) {
        out += ", from step " + std::to_string(verdict["step"].get<int>());
    }
    out += ": " + verdict["why"].get<std::string>() + "\n";
    return out;
}

}  // namespace setup
