#include "store_report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "module_spec.h"

namespace pack {

namespace {

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

}  // namespace

void PrintModuleTable(const StoreContents& contents, std::ostream& out) {
    using Row = std::array<std::string, 8>;
    std::vector<Row> rows{{"#", "tag", "file name", "extract path", "attributes", "payload size",
                           "payload offset", "sha256"}};
    for (std::size_t i = 0; i < contents.modules.size(); ++i) {
        const StoredModule& module = contents.modules[i];
        const ModuleSpec spec = SpecOfHeader(module.header);
        rows.push_back({std::to_string(i + 1), ShownAnsi(spec.tag), ShownAnsi(spec.fileName),
                        ShownAnsi(spec.extractPath), Hex(spec.attributes),
                        std::to_string(module.header.payloadSize),
                        std::to_string(module.payloadOffset), module.sha256});
    }
    std::array<std::size_t, 8> widths{};
    for (const Row& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c] + std::string(widths[c] - row[c].size() + 2, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

nlohmann::json ModulesAsJson(const StoreContents& contents) {
    nlohmann::json modules = nlohmann::json::array();
    for (const StoredModule& module : contents.modules) {
        const ModuleSpec spec = SpecOfHeader(module.header);
        modules.push_back({{"tag", Utf8FromAnsi(spec.tag)},
                           {"fileName", Utf8FromAnsi(spec.fileName)},
                           {"extractPath", Utf8FromAnsi(spec.extractPath)},
                           {"attributes", spec.attributes},
                           {"payloadSize", module.header.payloadSize},
                           {"payloadOffset", module.payloadOffset},
                           {"trailerLength", module.trailerLength},
                           {"sha256", module.sha256}});
    }
    return modules;
}

void PrintSummary(const StoreContents& contents, std::ostream& out) {
    std::map<std::string, int> perTag;
    for (const StoredModule& module : contents.modules) {
        ++perTag[SpecOfHeader(module.header).tag];
    }
    out << contents.modules.size() << " modules behind an executable image of "
        << contents.imageLength << " bytes; " << contents.fileLength << " bytes in all\n";
    for (const auto& [tag, count] : perTag) {
        out << "  " << count << " tagged " << ShownAnsi(tag) << '\n';
    }
    out << "store is sound\n";
}

}  // namespace pack
