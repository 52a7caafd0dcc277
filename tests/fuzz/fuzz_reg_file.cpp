// The .reg loader on arbitrary bytes, in both formats: the input as it is,
// and behind each format's first line (as 8-bit text after "REGEDIT4", as
// UTF-16LE with a byte-order mark after "Windows Registry Editor Version
// 5.00"), loaded into a registry that already holds a key on each root.
//
// Properties: a file is loaded whole or refused as "NAME:LINE: what is
// wrong" with a line that the file has; a refused file leaves the registry
// as it was; no key stays open.
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/hosted/memory_registry.h"
#include "platform/hosted/reg_file.h"

namespace {

using fuzz::Require;

constexpr char kName[] = "fuzz.reg";
constexpr win::HKEY kRoots[] = {win::kHkeyLocalMachine, win::kHkeyDynData};

std::vector<std::string> Subkeys(hosted::MemoryRegistry& registry, win::HKEY root) {
    std::vector<std::string> names;
    char name[1024];
    std::uint32_t size = sizeof name;
    for (std::uint32_t index = 0;
         registry.RegEnumKeyExA(root, index, name, &size) == win::kErrorSuccess; ++index) {
        names.emplace_back(name, size);
        size = sizeof name;
    }
    return names;
}

std::string Kept(hosted::MemoryRegistry& registry, win::HKEY root) {
    win::HKEY key = 0;
    if (registry.RegOpenKeyExA(root, "Kept", win::kKeyRead, &key) != win::kErrorSuccess) {
        return "<no key>";
    }
    std::uint8_t data[64] = {};
    std::uint32_t size = sizeof data;
    const std::uint32_t result = registry.RegQueryValueExA(key, "Value", nullptr, data, &size);
    registry.RegCloseKey(key);
    return result == win::kErrorSuccess ? std::string(data, data + size) : "<no value>";
}

// The count of lines as the loader counts them: CRLF or LF ends a line.
std::size_t LineCount(const std::string& bytes, std::size_t unitSize) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i + unitSize <= bytes.size(); i += unitSize) {
        lines += bytes[i] == '\n' ? 1 : 0;
    }
    return lines;
}

void Load(const std::string& bytes, std::size_t unitSize) {
    hosted::MemoryRegistry registry;
    for (const win::HKEY root : kRoots) {
        registry.SetString(root, "Kept", "Value", "as it was");
    }
    std::string error;
    const bool loaded = hosted::LoadRegBytes(kName, bytes, registry, error);
    Require(registry.OpenKeyCount() == 0, "loading closes every key");
    if (loaded) {
        return;
    }
    const std::string prefix = std::string(kName) + ":";
    Require(error.starts_with(prefix), "a refusal names the file");
    std::size_t digits = prefix.size();
    while (digits < error.size() && std::isdigit(static_cast<unsigned char>(error[digits]))) {
        ++digits;
    }
    Require(
        digits > prefix.size() && error.compare(digits, 2, ": ") == 0 && error.size() > digits + 2,
        "a refusal gives a line and what is wrong: " + error);
    const unsigned long line = std::stoul(error.substr(prefix.size(), digits - prefix.size()));
    Require(line >= 1 && line <= LineCount(bytes, unitSize),
            "a refusal names a line of the file: " + error);
    for (const win::HKEY root : kRoots) {
        Require(Subkeys(registry, root) == std::vector<std::string>{"Kept"} &&
                    Kept(registry, root) == std::string("as it was", 10),
                "a refused file leaves the registry as it was");
    }
}

std::string Utf16(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    Load(input, 1);
    Load("REGEDIT4\r\n" + input, 1);
    // Every byte of the input as one UTF-16 code unit, so that the fuzzer's
    // text mutations reach the Unicode format's parser.
    Load(Utf16("Windows Registry Editor Version 5.00\r\n" + input), 2);
    return 0;
}
