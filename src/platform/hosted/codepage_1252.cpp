#include "platform/hosted/codepage_1252.h"

namespace hosted {

namespace {

// Bytes 0x80 to 0x9F: the characters the page puts there. The five bytes
// the page leaves undefined stand for the C1 controls of the same number.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::optional<char> ToWindows1252(std::uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    for (unsigned index = 0; index < 32; ++index) {
        if (kHighControls[index] == unit) {
            return static_cast<char>(0x80 + index);
        }
    }
    return std::nullopt;
}

std::uint16_t FromWindows1252(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 && value < 0xA0 ? kHighControls[value - 0x80] : value;
}

std::string Utf8FromWindows1252(std::string_view ansi) {
    std::string text;
    for (const char byte : ansi) {
        const std::uint16_t unit = FromWindows1252(byte);
        if (unit < 0x80) {
            text += static_cast<char>(unit);
        } else if (unit < 0x800) {
            text += static_cast<char>(0xC0 | unit >> 6);
            text += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | unit >> 12);
            text += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return text;
}

}  // namespace hosted
