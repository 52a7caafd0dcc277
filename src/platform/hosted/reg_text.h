// The text of a .reg file: its format, told by its first line, and its
// lines as UTF-16 code units whatever the file's encoding.
#pragma once

#include <string>
#include <vector>

namespace hosted {

struct RegText {
    // "REGEDIT4": 8-bit text in the ANSI code page, kept byte for byte (each
    // byte is one code unit below 256). "Windows Registry Editor Version
    // 5.00": Unicode text, UTF-16LE with a byte-order mark or UTF-8.
    bool unicode = false;
    std::vector<std::u16string> lines;  // without their line ends
};

// Splits a file's bytes into lines (CRLF or LF) and checks the first line.
// False with the line number and what is wrong when the text is neither
// format or its encoding is broken.
bool DecodeRegText(const std::string& bytes, RegText& text, int& errorLine, std::string& error);

}  // namespace hosted
