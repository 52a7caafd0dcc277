#include "platform/hosted/memory_registry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr win::HKEY kHklm = win::kHkeyLocalMachine;

class MemoryRegistryTest : public ::testing::Test {
  protected:
    hosted::MemoryRegistry reg;

    win::HKEY Open(win::HKEY parent, const char* path) {
        win::HKEY key = 0;
        EXPECT_EQ(reg.RegOpenKeyExA(parent, path, win::kKeyRead, &key), win::kErrorSuccess) << path;
        return key;
    }

    std::string EnumName(win::HKEY key, std::uint32_t index, std::uint32_t* result) {
        char name[64] = {};
        std::uint32_t size = sizeof name;
        *result = reg.RegEnumKeyExA(key, index, name, &size);
        return name;
    }
};

TEST_F(MemoryRegistryTest, OpensNestedPathsWithoutRegardToCase) {
    reg.CreateKey(kHklm, "System\\CurrentControlSet\\Enum");
    win::HKEY key = Open(kHklm, "SYSTEM\\currentcontrolset\\ENUM");
    win::HKEY same = Open(key, "");
    EXPECT_NE(key, same);
    EXPECT_EQ(reg.OpenKeyCount(), 2);
    EXPECT_EQ(reg.RegCloseKey(key), win::kErrorSuccess);
    EXPECT_EQ(reg.RegCloseKey(same), win::kErrorSuccess);
    EXPECT_EQ(reg.OpenKeyCount(), 0);
}

TEST_F(MemoryRegistryTest, MissingKeysAndBadHandlesFail) {
    reg.CreateKey(kHklm, "System");
    win::HKEY key = 0;
    EXPECT_EQ(reg.RegOpenKeyExA(kHklm, "System\\Nothing", win::kKeyRead, &key),
              win::kErrorFileNotFound);
    EXPECT_EQ(reg.RegOpenKeyExA(win::kHkeyDynData, "System", win::kKeyRead, &key),
              win::kErrorFileNotFound);
    EXPECT_EQ(reg.RegOpenKeyExA(0x1234, "System", win::kKeyRead, &key), win::kErrorInvalidHandle);
    EXPECT_EQ(reg.RegCloseKey(0x1234), win::kErrorInvalidHandle);
    win::HKEY opened = Open(kHklm, "System");
    EXPECT_EQ(reg.RegCloseKey(opened), win::kErrorSuccess);
    EXPECT_EQ(reg.RegCloseKey(opened), win::kErrorInvalidHandle);  // twice
    EXPECT_EQ(reg.OpenKeyCount(), 0);
}

TEST_F(MemoryRegistryTest, QueriesReportTheRoomNeeded) {
    reg.SetString(kHklm, "Disk", "0", "USBSTOR");
    win::HKEY key = Open(kHklm, "disk");
    std::uint8_t data[8] = {};
    std::uint32_t type = 0;
    std::uint32_t size = 7;
    EXPECT_EQ(reg.RegQueryValueExA(key, "0", &type, data, &size), win::kErrorMoreData);
    EXPECT_EQ(size, 8u);  // the text and its terminator
    EXPECT_EQ(data[0], 0);
    size = 8;
    EXPECT_EQ(reg.RegQueryValueExA(key, "0", &type, data, &size), win::kErrorSuccess);
    EXPECT_EQ(type, hosted::kRegSz);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "USBSTOR");
    size = 0;
    EXPECT_EQ(reg.RegQueryValueExA(key, "0", nullptr, nullptr, &size), win::kErrorSuccess);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(reg.RegQueryValueExA(key, "1", nullptr, data, &size), win::kErrorFileNotFound);
    EXPECT_EQ(reg.RegQueryValueExA(key, "0", nullptr, data, nullptr), win::kErrorInvalidParameter);
    reg.RegCloseKey(key);
}

TEST_F(MemoryRegistryTest, DwordsAreLittleEndianAndNamesIgnoreCase) {
    reg.SetDword(kHklm, "Enum", "Count", 0x01020304);
    reg.SetString(kHklm, "Enum", "", "default");
    win::HKEY key = Open(kHklm, "Enum");
    std::uint8_t data[16] = {};
    std::uint32_t size = sizeof data;
    ASSERT_EQ(reg.RegQueryValueExA(key, "COUNT", nullptr, data, &size), win::kErrorSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(data[0], 4);
    EXPECT_EQ(data[3], 1);
    size = sizeof data;
    EXPECT_EQ(reg.RegQueryValueExA(key, nullptr, nullptr, data, &size), win::kErrorSuccess);
    EXPECT_STREQ(reinterpret_cast<char*>(data), "default");
    reg.DeleteValue(kHklm, "ENUM", "count");
    EXPECT_EQ(reg.RegQueryValueExA(key, "Count", nullptr, data, &size), win::kErrorFileNotFound);
    reg.RegCloseKey(key);
}

TEST_F(MemoryRegistryTest, EnumeratesSubkeysSortedWithoutRegardToCase) {
    for (const char* name : {"b", "A_2", "a1", "C", "_x"}) {
        reg.CreateKey(kHklm, std::string("Root\\") + name);
    }
    win::HKEY key = Open(kHklm, "Root");
    std::uint32_t result = 0;
    std::string names;
    for (std::uint32_t i = 0;; ++i) {
        std::string name = EnumName(key, i, &result);
        if (result != win::kErrorSuccess) {
            break;
        }
        names += name + " ";
    }
    EXPECT_EQ(result, win::kErrorNoMoreItems);
    // Compared in upper case: "_" sorts after the letters, "1" before "_".
    EXPECT_EQ(names, "a1 A_2 b C _x ");
    reg.RegCloseKey(key);
}

TEST_F(MemoryRegistryTest, EnumerationRefusesANameThatDoesNotFit) {
    reg.CreateKey(kHklm, "Root\\Twelve_chars");
    win::HKEY key = Open(kHklm, "Root");
    char name[12];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(reg.RegEnumKeyExA(key, 0, name, &size), win::kErrorMoreData);
    char room[13];
    size = sizeof room;
    EXPECT_EQ(reg.RegEnumKeyExA(key, 0, room, &size), win::kErrorSuccess);
    EXPECT_EQ(size, 12u);
    reg.RegCloseKey(key);
}

TEST_F(MemoryRegistryTest, DeletedKeysVanishAndTheirHandlesLeadNowhere) {
    reg.SetString(kHklm, "A\\B\\C", "v", "x");
    reg.CreateKey(kHklm, "A\\D");
    win::HKEY inner = Open(kHklm, "A\\B\\C");
    reg.DeleteKey(kHklm, "a\\b");
    win::HKEY key = 0;
    EXPECT_EQ(reg.RegOpenKeyExA(kHklm, "A\\B", win::kKeyRead, &key), win::kErrorFileNotFound);
    std::uint32_t size = 0;
    EXPECT_EQ(reg.RegQueryValueExA(inner, "v", nullptr, nullptr, &size), win::kErrorInvalidHandle);
    EXPECT_EQ(reg.OpenKeyCount(), 1);
    EXPECT_EQ(reg.RegCloseKey(inner), win::kErrorSuccess);
    win::HKEY a = Open(kHklm, "A");
    std::uint32_t result = 0;
    EXPECT_EQ(EnumName(a, 0, &result), "D");
    EXPECT_EQ(EnumName(a, 1, &result), "");
    EXPECT_EQ(result, win::kErrorNoMoreItems);
    reg.RegCloseKey(a);
}

TEST_F(MemoryRegistryTest, TreesDeeperThanTheStackAreDeletedAndTornDown) {
    std::string path;
    for (int level = 0; level < 500000; ++level) {
        path += "k\\";
    }
    reg.CreateKey(kHklm, "Deep\\" + path);
    reg.CreateKey(kHklm, "Kept\\" + path);
    reg.DeleteKey(kHklm, "Deep");
    win::HKEY key = 0;
    EXPECT_EQ(reg.RegOpenKeyExA(kHklm, "Deep", win::kKeyRead, &key), win::kErrorFileNotFound);
    // "Kept" goes with the registry at the end of the test.
}

}  // namespace
