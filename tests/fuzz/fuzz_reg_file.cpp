// The .reg loader on arbitrary bytes, in both formats: the input as it is,
// and behind each format's first line (as 8-bit text after "REGEDIT4", as
// UTF-16LE with a byte-order mark after "Windows Registry Editor Version
// 5.00"), loaded into a registry that already holds a key on each root.
//
// Properties: a file is loaded whole or refused as "NAME:LINE: what is
// wrong" with a line that the file has; a refused file leaves the registry
// as it was; no key stays open.
#include <algorithm>
#include <string>

#include "fuzz_check.h"
#include "platform/hosted/reg_file.h"

namespace {

using fuzz::Require;

// The subkeys of both roots, as text.
std::string Subkeys(hosted::MemoryRegistry& registry) {
    std::string names;
    for (const win::HKEY root : {win::kHkeyLocalMachine, win::kHkeyDynData}) {
        char name[300];
        std::uint32_t size = sizeof name;
        for (std::uint32_t at = 0; registry.RegEnumKeyExA(root, at, name, &size) == 0; ++at) {
            names.append(name, size).append(";");
            size = sizeof name;
        }
    }
    return names;
}

void Load(const std::string& bytes, std::size_t unit) {
    hosted::MemoryRegistry registry;
    for (const win::HKEY root : {win::kHkeyLocalMachine, win::kHkeyDynData}) {
        registry.SetString(root, "Kept", "Value", "as it was");
    }
    std::string error;
    const bool loaded = hosted::LoadRegBytes("fuzz.reg", bytes, registry, error);
    Require(registry.OpenKeyCount() == 0, "loading closes every key");
    if (loaded) {
        return;
    }
    const std::size_t digits = error.find_first_not_of("0123456789", 9);
    Require(error.starts_with("fuzz.reg:") && digits > 9 && digits < 19 &&
                error.compare(digits, 2, ": ") == 0 && error.size() > digits + 2,
            "a refusal gives a line and what is wrong: " + error);
    std::size_t lines = 1;  // CRLF or LF ends a line, in units of the file's encoding
    for (std::size_t at = 0; at + unit <= bytes.size(); at += unit) {
        lines += bytes[at] == '\n' ? 1 : 0;
    }
    Require(std::stoull(error.substr(9, digits - 9)) <= lines && error[9] != '0',
            "a refusal names a line of the file: " + error);
    Require(Subkeys(registry) == "Kept;Kept;", "a refused file leaves the registry as it was");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Load(input, 1);
    Load("REGEDIT4\r\n" + input, 1);
    // Every byte as one UTF-16 code unit, so that text mutations reach the Unicode parser.
    std::string utf16 = "\xFF\xFE";
    for (const char c : "Windows Registry Editor Version 5.00\r\n" + input) {
        utf16.append({c, '\0'});
    }
    Load(utf16, 2);
    return 0;
}
