// The pieces of a .reg file's value lines: quoted texts, and the data after
// the '=' ("text", dword:, hex:, hex(N):, or - for a deletion).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hosted {

// Text of a .reg file in the registry's 8-bit form: Unicode text is brought
// to the ANSI code page (Windows-1252, '?' for what it lacks), as the ANSI
// registry calls hand it out; the code units of 8-bit text are its bytes.
std::string ToAnsi(std::u16string_view text, bool unicode);

// text without the blanks (spaces and tabs) around it.
std::u16string_view Trimmed(std::u16string_view text);

// Reads a quoted text at the start of rest, with the escapes \\, \", \n
// and \r, and moves rest past its closing quote. False with what is wrong.
bool ReadQuoted(std::u16string_view& rest, std::u16string& text, std::string& error);

struct ValueData {
    bool deletion = false;  // "name"=-
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

// Parses all of the data after the '='. In Unicode files the data of
// hex(1), hex(2) and hex(7) is UTF-16 text and is brought to ANSI too.
bool ParseValueData(std::u16string_view text, bool unicode, ValueData& data, std::string& error);

}  // namespace hosted
