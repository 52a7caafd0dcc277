// Trailer texts are 8-bit in the installer's ANSI code page, Windows-1252;
// manifests and JSON listings are UTF-8.
#pragma once

#include <string>

namespace pack {

// The UTF-8 form of an ANSI text; every byte has one.
std::string Utf8FromAnsi(const std::string& ansi);
// An ANSI text as a message or the plain listing shows it: in UTF-8, with
// what would not print escaped (hosted::PrintableText).
std::string ShownAnsi(const std::string& ansi);
// The ANSI form of a UTF-8 text. Throws PackError naming the first character
// that Windows-1252 has no byte for, or a byte that is not UTF-8.
std::string AnsiFromUtf8(const std::string& utf8);

}  // namespace pack
