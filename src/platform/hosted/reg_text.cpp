#include "platform/hosted/reg_text.h"

#include <optional>

namespace hosted {

namespace {

constexpr char16_t kRegedit4[] = u"REGEDIT4";
constexpr char16_t kRegedit5[] = u"Windows Registry Editor Version 5.00";
constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

unsigned char ByteAt(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// The code point of the UTF-8 sequence at bytes[at], moving at past it;
// nothing for a malformed sequence.
std::optional<char32_t> NextCodePoint(const std::string& bytes, std::size_t& at) {
    const unsigned char lead = ByteAt(bytes, at);
    std::size_t length = 1;
    char32_t code = lead;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else if (lead >= 0x80) {
        return std::nullopt;
    }
    if (at + length > bytes.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = ByteAt(bytes, at + i);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = code << 6 | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};  // no overlong forms
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    at += length;
    return code;
}

bool DecodeUtf8(const std::string& bytes, std::size_t from, std::u16string& units) {
    for (std::size_t at = from; at < bytes.size();) {
        const std::optional<char32_t> code = NextCodePoint(bytes, at);
        if (!code) {
            return false;
        }
        if (*code >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((*code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((*code - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(*code);
        }
    }
    return true;
}

std::vector<std::u16string> SplitLines(const std::u16string& units) {
    std::vector<std::u16string> lines(1);
    for (char16_t unit : units) {
        if (unit == u'\n') {
            lines.emplace_back();
        } else {
            lines.back() += unit;
        }
    }
    for (std::u16string& line : lines) {
        if (!line.empty() && line.back() == u'\r') {
            line.pop_back();
        }
    }
    return lines;
}

}  // namespace

bool DecodeRegText(const std::string& bytes, RegText& text, int& errorLine, std::string& error) {
    std::u16string units;
    bool encodingBroken = false;
    if (StartsWith(bytes, kUtf16Mark)) {
        text.unicode = true;
        for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
            units += static_cast<char16_t>(ByteAt(bytes, at) | ByteAt(bytes, at + 1) << 8);
        }
        encodingBroken = bytes.size() % 2 != 0;
    } else if (StartsWith(bytes, "REGEDIT4")) {
        text.unicode = false;
        for (char c : bytes) {
            units += static_cast<char16_t>(static_cast<unsigned char>(c));
        }
    } else {
        text.unicode = true;
        encodingBroken = !DecodeUtf8(bytes, StartsWith(bytes, kUtf8Mark) ? 3 : 0, units);
    }
    text.lines = SplitLines(units);
    if (encodingBroken) {
        errorLine = static_cast<int>(text.lines.size());  // where decoding stopped
        error = text.unicode && StartsWith(bytes, kUtf16Mark)
                    ? "UTF-16 text ends in the middle of a character"
                    : "not valid UTF-8";
        return false;
    }
    if (text.lines.front() != (text.unicode ? kRegedit5 : kRegedit4)) {
        errorLine = 1;
        error =
            "not a registry file: the first line must be \"REGEDIT4\" (8-bit text) or "
            "\"Windows Registry Editor Version 5.00\" (UTF-16 or UTF-8)";
        return false;
    }
    return true;
}

}  // namespace hosted
