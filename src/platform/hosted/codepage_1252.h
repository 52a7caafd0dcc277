// The ANSI code page of a Western Windows machine, Windows-1252.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hosted {

// The 1252 byte of a UTF-16 code unit, or nothing when the code page has no
// byte for it (surrogates and every character outside the page).
std::optional<char> ToWindows1252(std::uint16_t unit);

// The UTF-16 code unit of a 1252 byte; every byte has one.
std::uint16_t FromWindows1252(char byte);

// The UTF-8 form of a 1252 text; every byte has one.
std::string Utf8FromWindows1252(std::string_view ansi);

}  // namespace hosted
