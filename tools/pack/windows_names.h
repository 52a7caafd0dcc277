// The names that a Windows volume can hold as an ordinary file or folder,
// shared by everything that writes, checks or extracts a module.
#pragma once

#include <string>
#include <string_view>

namespace pack {

// Empty when the 8-bit name can stand as one file or folder name on a
// Windows volume; otherwise what is wrong with it, such as "is the device
// name CON". Refused are the empty name, "." and "..", characters below 32
// and <>:"/|?*, names that end in a dot or a space (spaces alone included),
// which Windows would cut, and the device names CON, PRN, AUX, NUL, COM1 to
// COM9 and LPT1 to LPT9 (and COM and LPT with a superscript 1, 2 or 3) in
// any case, also before an extension or trailing spaces: "con.txt" is the
// console, "CONSOLE" is a name.
std::string WindowsNameDefect(std::string_view name);

}  // namespace pack
