#include "windows_names.h"

#include <cstring>

#include "platform/hosted/name_case.h"

namespace pack {

namespace {

// A digit 1 to 9, or a superscript 1, 2 or 3 of Windows-1252.
bool IsPortNumber(char c) {
    return (c >= '1' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

// The device that the name opens: its part before the first dot, less
// trailing spaces, compared without regard to case.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
        if (hosted::SameIgnoringCase(std::string(base), device)) {
            return true;
        }
    }
    return base.size() == 4 && IsPortNumber(base[3]) &&
           (hosted::SameIgnoringCase(std::string(base.substr(0, 3)), "COM") ||
            hosted::SameIgnoringCase(std::string(base.substr(0, 3)), "LPT"));
}

}  // namespace

std::string WindowsNameDefect(std::string_view name) {
    if (name.empty()) {
        return "is empty";
    }
    if (name == "." || name == "..") {
        return "is \"" + std::string(name) + "\"";
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/|?*", c) != nullptr) {
            return "holds a character that a Windows name cannot hold";
        }
    }
    if (name.find_first_not_of(' ') == std::string_view::npos) {
        return "is only spaces";
    }
    if (name.back() == '.' || name.back() == ' ') {
        return "ends in a dot or a space, which Windows cuts off";
    }
    if (IsDeviceName(name)) {
        return "is a name that Windows keeps for a device";
    }
    return "";
}

}  // namespace pack
