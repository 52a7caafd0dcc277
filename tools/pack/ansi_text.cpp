#include "ansi_text.h"

#include "platform/hosted/printable_text.h"

#include <cstdint>
#include <cstdio>

#include "pack_error.h"
#include "platform/hosted/codepage_1252.h"

namespace pack {

std::string Utf8FromAnsi(const std::string& ansi) {
    return hosted::Utf8FromWindows1252(ansi);
}

std::string ShownAnsi(const std::string& ansi) {
    return hosted::PrintableText(Utf8FromAnsi(ansi));
}

std::string AnsiFromUtf8(const std::string& utf8) {
    std::string text;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80        ? 1
                                   : lead >> 5 == 0x6 ? 2
                                   : lead >> 4 == 0xE ? 3
                                                      : 4;
        std::uint32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
            if (next >> 6 != 0x2) {
                throw PackError("\"" + utf8 + "\" is not UTF-8");
            }
            point = point << 6 | (next & 0x3F);
        }
        const auto byte = point <= 0xFFFF ? hosted::ToWindows1252(static_cast<std::uint16_t>(point))
                                          : std::nullopt;
        if (!byte) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(point));
            throw PackError("\"" + utf8 + "\" holds " + name +
                            ", which Windows-1252 has no byte for");
        }
        text += *byte;
        i += length;
    }
    return text;
}

}  // namespace pack
