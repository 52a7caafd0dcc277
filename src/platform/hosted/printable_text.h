// Text that came from an input (a name, a path, a registry string) made safe
// to show on a terminal or in a one-line message.
#pragma once

#include <string>
#include <string_view>

namespace hosted {

// The text with every byte that does not print as itself replaced by an
// escape: "\n", "\r" and "\t" for those, "\x1b" and the like for the other
// control characters, DEL, the C1 controls, the invisible format characters
// that turn text around, and bytes that are no part of valid UTF-8. What is
// printable, backslashes included, stays as it is, so the result is one
// printable line and escaping it again changes nothing.
std::string PrintableText(std::string_view text);

// A message of several lines as a terminal shows it: each "\r\n" or "\n"
// is one line break "\n", and every line is PrintableText.
std::string PrintableLines(std::string_view text);

}  // namespace hosted
