// The .reg loader on arbitrary bytes: as they are, after "REGEDIT4", and as
// UTF-16LE after "Windows Registry Editor Version 5.00", loaded over a key on
// each root. Properties: a file is loaded whole or refused as "NAME:LINE: what
// is wrong" with a line the file has, leaving the registry as it was; no key
// stays open.
#include <algorithm>
#include <regex>
#include <string>

#include "fuzz_check.h"
#include "platform/hosted/reg_file.h"

namespace {

using fuzz::Require;

void Load(const std::string& bytes) {
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
    static const std::regex refusal(R"(^fuzz\.reg:([1-9][0-9]{0,8}): [\s\S])");
    std::smatch line;
    Require(std::regex_search(error, line, refusal),
            "a refusal gives a line and what is wrong: " + error);
    // CRLF or LF ends a line; in the UTF-16 file every other byte is zero.
    Require(std::stol(line[1]) <= 1 + std::count(bytes.begin(), bytes.end(), '\n'),
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
    Load(input);
    Load("REGEDIT4\r\n" + input);
    // Every byte as one UTF-16 code unit, so that text mutations reach the Unicode parser.
    std::string utf16 = "\xFF\xFE";
    for (const char c : "Windows Registry Editor Version 5.00\r\n" + input) {
        utf16.append({c, '\0'});
    }
    Load(utf16);
    return 0;
}
