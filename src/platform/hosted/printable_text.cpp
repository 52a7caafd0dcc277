#include "platform/hosted/printable_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace hosted {

namespace {

// The length of the UTF-8 sequence at the start of text and its code point;
// 0 when the bytes there are no valid sequence.
std::size_t SequenceAt(std::string_view text, char32_t& codePoint) {
    const auto byte = [&text](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        codePoint = lead & 0x07;
    }
    if (length == 0 || text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < lowest || surrogate || codePoint > 0x10FFFF ? 0 : length;
}

bool IsInvisible(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

void AppendEscape(std::string& out, std::uint8_t byte) {
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default: {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            out += escape;
        }
    }
}

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<std::uint8_t>(text.front());
        std::size_t length = 1;
        char32_t codePoint = byte;
        if (byte >= 0x80) {
            length = SequenceAt(text, codePoint);
        }
        if (length == 0 || byte < 0x20 || byte == 0x7F || IsInvisible(codePoint)) {
            length = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < length; ++i) {
                AppendEscape(out, static_cast<std::uint8_t>(text[i]));
            }
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string PrintableLines(std::string_view text) {
    std::string out;
    for (std::size_t begin = 0; begin <= text.size();) {
        std::size_t end = std::min(text.find('\n', begin), text.size());
        const std::size_t next = end + 1;
        if (end > begin && text[end - 1] == '\r' && end < text.size()) {
            --end;
        }
        out += PrintableText(text.substr(begin, end - begin));
        out += next <= text.size() ? "\n" : "";
        begin = next;
    }
    return out;
}

}  // namespace hosted
