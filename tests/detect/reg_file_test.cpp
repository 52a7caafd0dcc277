#include "platform/hosted/reg_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "detect/detect.h"
#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace {

constexpr win::HKEY kHklm = win::kHkeyLocalMachine;
const std::string kFixtures = DETECT_FIXTURES;
const std::string kExamples = EXAMPLE_MACHINES;

struct Value {
    std::uint32_t result = 0;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const Value&) const = default;
};

Value Query(hosted::MemoryRegistry& reg, win::HKEY root, const std::string& key,
            const std::string& name) {
    Value value;
    win::HKEY handle = 0;
    value.result = reg.RegOpenKeyExA(root, key.c_str(), win::kKeyRead, &handle);
    if (value.result == win::kErrorSuccess) {
        std::uint32_t size = 0;
        reg.RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, &size);
        value.bytes.resize(size);
        value.result =
            reg.RegQueryValueExA(handle, name.c_str(), &value.type, value.bytes.data(), &size);
        reg.RegCloseKey(handle);
    }
    return value;
}

Value Text(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return {0, hosted::kRegSz, bytes};
}

std::vector<std::string> Subkeys(hosted::MemoryRegistry& reg, win::HKEY root,
                                 const std::string& key) {
    std::vector<std::string> names;
    win::HKEY handle = 0;
    if (reg.RegOpenKeyExA(root, key.c_str(), win::kKeyRead, &handle) == win::kErrorSuccess) {
        char name[256];
        std::uint32_t size = sizeof name;
        for (std::uint32_t i = 0; reg.RegEnumKeyExA(handle, i, name, &size) == 0; ++i) {
            names.push_back(name);
            size = sizeof name;
        }
        reg.RegCloseKey(handle);
    }
    return names;
}

// "k\\k\\...\\k", levels deep.
std::string Levels(std::size_t levels) {
    std::string path = "k";
    for (std::size_t level = 1; level < levels; ++level) {
        path += "\\k";
    }
    return path;
}

class RegFile : public ::testing::Test {
  protected:
    hosted::MemoryRegistry reg;
    std::string error;

    bool LoadFile(const std::string& path) { return hosted::LoadRegFile(path, reg, error); }
    bool Load(const std::string& text) {
        return hosted::LoadRegBytes("machine.reg", text, reg, error);
    }
    // Loads a file that must be refused, and gives its error.
    std::string Refused(const std::string& text) {
        EXPECT_FALSE(Load(text)) << text;
        EXPECT_TRUE(Subkeys(reg, kHklm, "").empty()) << "something was loaded: " << text;
        return error;
    }
    Value Get(const std::string& key, const std::string& name) {
        return Query(reg, kHklm, key, name);
    }
    void TearDown() override { EXPECT_EQ(reg.OpenKeyCount(), 0); }
};

TEST_F(RegFile, BothFormatsOfTheSameKeysLoadTheSameValues) {
    hosted::MemoryRegistry unicode;
    ASSERT_TRUE(LoadFile(kFixtures + "/encoding-probe.regedit4.reg")) << error;
    ASSERT_TRUE(hosted::LoadRegFile(kFixtures + "/encoding-probe.wine-export.reg", unicode, error))
        << error;
    const std::string key = "Software\\Stashwell Probe";
    for (const char* name :
         {"", "Quoted", "Latin", "Count", "Binary", "Expand", "Multi", "Empty", "Removed"}) {
        EXPECT_EQ(Get(key, name), Query(unicode, kHklm, key, name)) << name;
    }
    EXPECT_EQ(Get(key, "Latin"), Text("caf\xE9 20\x80"));
    EXPECT_EQ(Get(key, "Quoted"), Text("C:\\Program Files\\\"Stashwell\""));
    EXPECT_EQ(Get(key, "Expand"),
              (Value{0,
                     hosted::kRegExpandSz,
                     {'%', 'S', 'y', 's', 't', 'e', 'm', 'R', 'o', 'o', 't', '%', '\\', 0xE9, 0}}));
    EXPECT_EQ(Get(key, "Multi"),
              (Value{0, hosted::kRegMultiSz, {'o', 'n', 'e', 0, 't', 'w', 'o', 0x80, 0, 0}}));
    EXPECT_EQ(Get(key, "Count"), (Value{0, hosted::kRegDword, {0x2C, 0x01, 0, 0}}));
    EXPECT_EQ(Get(key, "Binary").bytes.size(), 48u);
    EXPECT_EQ(Get(key, "Removed").result, win::kErrorFileNotFound);
    EXPECT_EQ(Get(key + "\\Caf\xE9", "Name"), Text("\xDCn\xEF"
                                                   "c\xF6"
                                                   "d\xE9"));
    EXPECT_EQ(Subkeys(reg, kHklm, key), std::vector<std::string>{"Caf\xE9"});
    EXPECT_EQ(Subkeys(unicode, kHklm, key), std::vector<std::string>{"Caf\xE9"});
}

TEST_F(RegFile, SystemHiveExportedByARegistryEditorDetectsItsDrive) {
    doubles::FakeMachine machine;
    ASSERT_TRUE(hosted::LoadRegFile(kFixtures + "/wine-system-orca-slim-nt.reg",
                                    machine.registryData, error))
        << error;
    machine.system.logicalDrives |= machines::DriveBit('E');
    int variant = 0;
    EXPECT_EQ(detect::DetectSupportedDrive(machine.os, variant), 'E');
    EXPECT_EQ(variant, detect::kVariantOrca);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST_F(RegFile, ExportMatchesTheHandWrittenMachineItWasMadeFrom) {
    hosted::MemoryRegistry exported;
    ASSERT_TRUE(LoadFile(kExamples + "/orca-slim-nt.reg")) << error;
    ASSERT_TRUE(hosted::LoadRegFile(kFixtures + "/wine-system-orca-slim-nt.reg", exported, error));
    const std::string disk =
        "System\\CurrentControlSet\\Enum\\USBSTOR\\Disk&Ven_Norvask&Prod_"
        "Rovane_Slim&Rev_1.00\\07A1B2C3D4E5F601&0";
    const std::pair<std::string, std::string> values[] = {
        {"System\\MountedDevices", "\\DosDevices\\E:"},
        {"System\\MountedDevices", "\\DosDevices\\C:"},
        {"System\\CurrentControlSet\\Services\\Disk\\Enum", "1"},
        {"System\\CurrentControlSet\\Services\\USBSTOR\\Enum", "Count"},
        {disk, "ParentIdPrefix"},
        {"System\\CurrentControlSet\\Enum\\USB\\VID_3107&PID_9340\\07A1B2C3D4E5F601", "HardwareID"},
    };
    for (const auto& [key, name] : values) {
        EXPECT_EQ(Get(key, name), Query(exported, kHklm, key, name)) << key << " " << name;
        EXPECT_EQ(Get(key, name).result, win::kErrorSuccess) << key << " " << name;
    }
}

TEST_F(RegFile, DynDataAndEnumExportsDetectTheDriveOn9x) {
    doubles::FakeMachine machine;
    machine.system.platformId = win::kVerPlatformWin32Windows;
    for (const char* file : {"/wine-dyn-data-orca-slim-9x.reg", "/wine-enum-orca-slim-9x.reg"}) {
        ASSERT_TRUE(hosted::LoadRegFile(kFixtures + file, machine.registryData, error)) << error;
    }
    int variant = 0;
    EXPECT_EQ(detect::DetectSupportedDrive(machine.os, variant), 'E');
    EXPECT_EQ(variant, detect::kVariantOrca);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST_F(RegFile, ReadsRootsAliasesDeletionsAndCommentsWithEitherLineEnd) {
    ASSERT_TRUE(
        Load("REGEDIT4\n"
             "\n"
             "; a comment\n"
             "[HKLM\\Software\\A]\n"
             "@=\"default\"\n"
             "\"x\"=dword:1\n"
             "\"gone\"=\"1\"\n"
             "\"gone\"=-\n"
             "[hkey_local_machine\\SOFTWARE\\a\\B]\r\n"
             "\"Empty\"=hex:\r\n"
             "\"Typed\"=hex(b):01, 02 ,\\\r\n"
             "   03\r\n"
             "[HKEY_DYN_DATA\\Config Manager\\Enum\\C1]\n"
             "\"HardWareKey\"=\"USB\\\\X\"\n"))
        << error;
    EXPECT_EQ(Get("Software\\A", ""), Text("default"));
    EXPECT_EQ(Get("Software\\A", "x"), (Value{0, hosted::kRegDword, {1, 0, 0, 0}}));
    EXPECT_EQ(Get("Software\\A", "gone").result, win::kErrorFileNotFound);
    EXPECT_EQ(Subkeys(reg, kHklm, "Software\\A"), std::vector<std::string>{"B"});
    EXPECT_EQ(Get("Software\\A\\B", "Empty"), (Value{0, hosted::kRegBinary, {}}));
    EXPECT_EQ(Get("Software\\A\\B", "Typed"), (Value{0, 0xB, {1, 2, 3}}));
    EXPECT_EQ(Query(reg, win::kHkeyDynData, "Config Manager\\Enum\\C1", "HardWareKey"),
              Text("USB\\X"));
}

TEST_F(RegFile, LaterFilesDeleteWhatEarlierOnesMade) {
    ASSERT_TRUE(Load("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\n\"v\"=\"1\"\n"));
    ASSERT_TRUE(Load("REGEDIT4\n[-HKEY_LOCAL_MACHINE\\A\\B]\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=-\n"));
    EXPECT_TRUE(Subkeys(reg, kHklm, "A").empty());
}

TEST_F(RegFile, OtherRootsAreCheckedButLeftOut) {
    ASSERT_TRUE(
        Load("REGEDIT4\n"
             "[HKEY_CURRENT_USER\\Console]\n\"FaceName\"=\"Lucida\"\n"
             "[HKEY_CLASSES_ROOT\\.reg]\n@=\"regfile\"\n"
             "[HKEY_USERS\\.DEFAULT]\n[HKEY_CURRENT_CONFIG\\System]\n"));
    EXPECT_TRUE(Subkeys(reg, kHklm, "").empty());
    EXPECT_EQ(Refused("REGEDIT4\n[HKCU\\Console]\n\"FaceName\"=dword:xyz\n"),
              "machine.reg:3: dword: must be followed by up to 8 hex digits");
}

TEST_F(RegFile, UnicodeTextIsBroughtToTheAnsiCodePage) {
    ASSERT_TRUE(
        Load("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
             "[HKEY_LOCAL_MACHINE\\Caf\xC3\xA9]\n"
             "\"Name\"=\"20\xE2\x82\xAC \xE2\x86\x92 \xF0\x9F\x98\x80\"\n"
             "\"Multi\"=hex(7):41,00,ac,20,00,00,00,00\n"
             "\"Raw\"=hex:ac,20\n"))
        << error;
    // The arrow and the emoji (two code units) have no byte in the page.
    EXPECT_EQ(Get("Caf\xE9", "Name"), Text("20\x80 ? ??"));
    EXPECT_EQ(Get("Caf\xE9", "Multi"), (Value{0, hosted::kRegMultiSz, {'A', 0x80, 0, 0}}));
    EXPECT_EQ(Get("Caf\xE9", "Raw"), (Value{0, hosted::kRegBinary, {0xAC, 0x20}}));
}

TEST_F(RegFile, MalformedLinesAreRefusedWithTheirLine) {
    const std::string key = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Good]\n\"ok\"=\"1\"\n";
    const std::pair<std::string, std::string> cases[] = {
        {"garbage\n", "machine.reg:5: expected [key], \"name\"=data, @=data or a ; comment"},
        {"[HKEY_LOCAL_MACHINE\\X\n", "machine.reg:5: key line does not end with ']'"},
        {"[HKEY_NOWHERE\\X]\n", "machine.reg:5: unknown root key \"HKEY_NOWHERE\""},
        {"[HKEY_LOCAL_MACHINE\\A\\\\B]\n",
         "machine.reg:5: empty key name in "
         "\"HKEY_LOCAL_MACHINE\\A\\\\B\""},
        {"\"v\"=\"a\\tb\"\n",
         "machine.reg:5: unknown escape \"\\t\" in a quoted text (use \\\\ "
         "for a backslash)"},
        {"\"v\"=\"abc\n", "machine.reg:5: quoted text is not closed"},
        {"\"v\"=\"abc\" x\n", "machine.reg:5: unexpected text after the closing quote"},
        {"\"v\" \"abc\"\n", "machine.reg:5: expected '=' after the value name"},
        {"\"v\"=dword:123456789\n", "machine.reg:5: dword: must be followed by up to 8 hex digits"},
        {"\"v\"=hex:01,2g\n",
         "machine.reg:5: hex data must be bytes of two hex digits separated by commas"},
        {"\"v\"=hex:01,\\\n  123\n",
         "machine.reg:5: hex data must be bytes of two hex digits separated by commas"},
        {"\"v\"=hex(q):01\n",
         "machine.reg:5: hex( must be followed by a hex type number and "
         "\"):\""},
        {"\"v\"=text\n", "machine.reg:5: value data must be \"text\", dword:, hex:, hex(N): or -"},
        {"[-HKEY_LOCAL_MACHINE\\X]\n\"v\"=\"1\"\n", "machine.reg:6: value under a deleted key"},
        {"[HKLM\\" + std::string(256, 'k') + "]\n", "machine.reg:5: key name over 255 characters"},
        {"[HKLM\\" + Levels(513) + "]\n", "machine.reg:5: key path deeper than 512 levels"},
        {"[HKLM\\" + Levels(500000) + "]\n", "machine.reg:5: key path deeper than 512 levels"},
        {"\"" + std::string(16384, 'v') + "\"=\"1\"\n",
         "machine.reg:5: value name over 16383 characters"},
    };
    for (const auto& [bad, message] : cases) {
        EXPECT_EQ(Refused(key + bad), message) << bad;
    }
    EXPECT_EQ(Refused("REGEDIT4\n\"v\"=\"1\"\n"), "machine.reg:2: value before any [key] line");
    // What a registry can hold still loads.
    EXPECT_TRUE(Load("REGEDIT4\n[HKLM\\" + std::string(255, 'k') + "\\" + Levels(511) + "]\n\"" +
                     std::string(16383, 'v') + "\"=\"1\"\n"))
        << error;
}

TEST_F(RegFile, FilesThatAreNoRegistryFileAreRefused) {
    const std::string header =
        "machine.reg:1: not a registry file: the first line must be "
        "\"REGEDIT4\" (8-bit text) or \"Windows Registry Editor Version "
        "5.00\" (UTF-16 or UTF-8)";
    EXPECT_EQ(Refused(""), header);
    EXPECT_EQ(Refused("REGEDIT5\n[HKEY_LOCAL_MACHINE\\X]\n"), header);
    EXPECT_EQ(Refused("\xEF\xBB\xBFREGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n"), header);
    EXPECT_EQ(
        Refused("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\X]\n\"a\"=\"\xE9\"\n"),
        "machine.reg:3: not valid UTF-8");
    EXPECT_EQ(Refused(std::string("\xFF\xFEW\0", 4) + "x"),
              "machine.reg:1: UTF-16 text ends in the middle of a character");
    EXPECT_EQ(Refused("\xFE\xFF"), "machine.reg:1: not valid UTF-8");  // big-endian UTF-16
    EXPECT_EQ(Refused("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\X]\n"
                      "\"a\"=hex(1):41\n"),
              "machine.reg:3: UTF-16 text data has an odd number of bytes");
    EXPECT_FALSE(LoadFile(kFixtures + "/no-such-file.reg"));
    EXPECT_EQ(error, kFixtures + "/no-such-file.reg: cannot be read: no such file");
}

}  // namespace
