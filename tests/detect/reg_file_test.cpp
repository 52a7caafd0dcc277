// The .reg loader: one table of files, each refused with "FILE:LINE: what is
// wrong" (leaving the registry empty) or loaded with the value it sets; and
// the in-memory registry it fills, however deep.
#include "platform/hosted/reg_file.h"

#include <gtest/gtest.h>

#include "platform/hosted/printable_text.h"

namespace {

const std::string kFixtures = DETECT_FIXTURES "/";
const std::string kHead = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n";
const std::string kUtf8 = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKLM\\K]\n";
const std::string kNotReg =
    "1: not a registry file: the first line must be \"REGEDIT4\" (8-bit text) or "
    "\"Windows Registry Editor Version 5.00\" (UTF-16 or UTF-8)";

std::string Levels(std::size_t levels) {  // "k\k\...\k"
    std::string path = "k";
    for (std::size_t level = 1; level < levels; ++level) {
        path += "\\k";
    }
    return path;
}

// "TYPE:data" as a printable line, or why there is no value.
std::string Value(platform::Registry& reg, const std::string& key, const std::string& name) {
    const win::HKEY root = key.starts_with("HKDD\\") ? win::kHkeyDynData : win::kHkeyLocalMachine;
    win::HKEY handle = 0;
    if (reg.RegOpenKeyExA(root, key.substr(key.find('\\') + 1).c_str(), 0, &handle) != 0) {
        return "no key";
    }
    std::uint8_t data[20000];
    std::uint32_t type = 0, size = sizeof data;
    const std::uint32_t result = reg.RegQueryValueExA(handle, name.c_str(), &type, data, &size);
    reg.RegCloseKey(handle);
    const std::string bytes(data, data + size);
    return result != 0 ? "no value" : std::to_string(type) + ":" + hosted::PrintableText(bytes);
}

const std::string kWidest = "HKLM\\" + std::string(255, 'k') + "\\" + Levels(511);
const std::string kLongName(16383, 'v');

struct File {
    std::string text;
    std::string loaded;  // the value, or "LINE: what is wrong"
    std::string key = "HKLM\\K";
    std::string name = "v";
};

// clang-format off
const File kFiles[] = {
    {kHead + "@=\"default\"", "1:default\\x00", "HKLM\\K", ""},
    {kHead + "\"v\"=dword:1", "4:\\x01\\x00\\x00\\x00"},
    {kHead + "\"v\"=\"1\"\n\"v\"=-", "no value"},
    {kHead + "\"v\"=hex:\r\n", "3:"},
    {kHead + "\"v\"=hex(b):01, 02 ,\\\r\n   03\r\n", "11:\\x01\\x02\\x03"},
    {kHead + "\"v\"=\"a\\\\b\\\"c\\nd\"", "1:a\\b\"c\\nd\\x00"},
    {"REGEDIT4\n; note\n[hkey_local_machine\\k]\n\"V\"=\"1\"", "1:1\\x00", "HKLM\\K", "v"},
    {"REGEDIT4\n[HKEY_DYN_DATA\\C\\D]\n\"v\"=\"USB\\\\X\"", "1:USB\\X\\x00", "HKDD\\C\\D"},
    {"REGEDIT4\n[HKCU\\K]\n\"v\"=\"1\"\n[HKEY_CLASSES_ROOT\\K]\n[HKU\\K]\n[HKCC\\K]", "no key"},
    {"REGEDIT4\n[HKCU\\K]\n\"v\"=dword:xyz", "3: dword: must be followed by up to 8 hex digits"},
    {kHead + "[HKLM\\K\\B]\n\"v\"=\"1\"\n[-HKLM\\K\\B]", "no key", "HKLM\\K\\B"},
    {kUtf8 + "\"v\"=\"20\xE2\x82\xAC \xE2\x86\x92 \xF0\x9F\x98\x80\"", "1:20\\x80 ? ??\\x00"},
    {kUtf8 + "\"v\"=hex(7):41,00,ac,20,00,00,00,00", "7:A\\x80\\x00\\x00"},
    {kUtf8 + "\"v\"=hex:ac,20", "3:\\xac "},
    {"REGEDIT4\n[" + kWidest + "]\n\"" + kLongName + "\"=\"1\"", "1:1\\x00", kWidest, kLongName},
    {kHead + "garbage", "4: expected [key], \"name\"=data, @=data or a ; comment"},
    {kHead + "[HKLM\\X", "4: key line does not end with ']'"},
    {kHead + "[HKEY_NOWHERE\\X]", "4: unknown root key \"HKEY_NOWHERE\""},
    {kHead + "[HKLM\\A\\\\B]", "4: empty key name in \"HKLM\\A\\\\B\""},
    {kHead + "\"v\"=\"a\\tb\"",
     "4: unknown escape \"\\t\" in a quoted text (use \\\\ for a backslash)"},
    {kHead + "\"v\"=\"abc", "4: quoted text is not closed"},
    {kHead + "\"v\"=\"abc\" x", "4: unexpected text after the closing quote"},
    {kHead + "\"v\" \"abc\"", "4: expected '=' after the value name"},
    {kHead + "\"v\"=dword:123456789", "4: dword: must be followed by up to 8 hex digits"},
    {kHead + "\"v\"=hex:01,2g", "4: hex data must be bytes of two hex digits separated by commas"},
    {kHead + "\"v\"=hex:01,\\\n  123",
     "4: hex data must be bytes of two hex digits separated by commas"},
    {kHead + "\"v\"=hex(q):01", "4: hex( must be followed by a hex type number and \"):\""},
    {kHead + "\"v\"=text", "4: value data must be \"text\", dword:, hex:, hex(N): or -"},
    {kHead + "[-HKLM\\X]\n\"v\"=\"1\"", "5: value under a deleted key"},
    {"REGEDIT4\n\"v\"=\"1\"", "2: value before any [key] line"},
    {kHead + "[HKLM\\" + std::string(256, 'k') + "]", "4: key name over 255 characters"},
    {kHead + "[HKLM\\" + Levels(513) + "]", "4: key path deeper than 512 levels"},
    {kHead + "[HKLM\\" + Levels(500000) + "]", "4: key path deeper than 512 levels"},
    {kHead + "\"" + std::string(16384, 'v') + "\"=\"1\"", "4: value name over 16383 characters"},
    {"", kNotReg},
    {"\xEF\xBB\xBFREGEDIT4\n[HKLM\\X]", kNotReg},
    {kUtf8 + "\"v\"=\"\xE9\"", "3: not valid UTF-8"},
    {std::string("\xFF\xFEW\0", 4) + "x", "1: UTF-16 text ends in the middle of a character"},
    {kUtf8 + "\"v\"=hex(1):41", "3: UTF-16 text data has an odd number of bytes"},
};
// clang-format on

TEST(RegFile, EachFileLoadsItsValueOrIsRefusedWithItsLine) {
    for (const File& file : kFiles) {
        hosted::MemoryRegistry reg;
        std::string error;
        const bool loaded = hosted::LoadRegBytes("machine.reg", file.text, reg, error);
        EXPECT_EQ(loaded ? Value(reg, file.key, file.name) : error,
                  loaded ? file.loaded : "machine.reg:" + file.loaded)
            << file.text;
        char name[300];
        std::uint32_t size = sizeof name;
        EXPECT_TRUE(loaded || reg.RegEnumKeyExA(win::kHkeyLocalMachine, 0, name, &size) != 0);
        EXPECT_EQ(reg.OpenKeyCount(), 0);
    }
}

TEST(RegFile, AFileThatCannotBeReadIsRefused) {
    hosted::MemoryRegistry reg;
    std::string error;
    EXPECT_FALSE(hosted::LoadRegFile(kFixtures + "none.reg", reg, error));
    EXPECT_EQ(error, kFixtures + "none.reg: cannot be read: no such file");
}

TEST(RegFile, RegistryTreesDeeperThanTheStackAreDeletedAndTornDown) {
    hosted::MemoryRegistry reg;
    reg.CreateKey(win::kHkeyLocalMachine, "Deep\\" + Levels(500000));
    reg.CreateKey(win::kHkeyLocalMachine, "Kept\\" + Levels(500000));  // goes with the registry
    reg.DeleteKey(win::kHkeyLocalMachine, "Deep");
    EXPECT_EQ(Value(reg, "HKLM\\Deep", ""), "no key");
}

}  // namespace
