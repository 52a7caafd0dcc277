// The .reg loader on arbitrary bytes: as they are, after "REGEDIT4", and as
// UTF-16LE after "Windows Registry Editor Version 5.00", loaded over a key on
// each root. Properties: a file is loaded whole or refused as "NAME:LINE: what
// is wrong" with a line the file has, leaving the registry as it was; no key
// stays open.
#include <string>

#include "fuzz_check.h"
#include "platform/hosted/reg_file.h"

namespace {

using fuzz::Require;

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
    char name[8];
    for (const win::HKEY root : {win::kHkeyLocalMachine, win::kHkeyDynData}) {
        std::uint32_t room = sizeof name;
        std::uint8_t value[16] = {};
        win::HKEY kept = 0;
        Require(registry.RegEnumKeyExA(root, 1, name, &room) == win::kErrorNoMoreItems &&
                    registry.RegOpenKeyExA(root, "Kept", 0, &kept) == 0 &&
                    registry.RegQueryValueExA(kept, "Value", nullptr, value, &(room = 16)) == 0 &&
                    std::string(reinterpret_cast<char*>(value)) == "as it was" &&
                    registry.RegCloseKey(kept) == 0,
                "a refused file leaves the registry as it was");
    }
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
