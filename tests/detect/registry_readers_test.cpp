#include "detect/registry_readers.h"

#include <gtest/gtest.h>

#include "platform/hosted/memory_registry.h"

namespace {

using detect::RegistryKey;

constexpr win::HKEY kHklm = win::kHkeyLocalMachine;

class RegistryReaders : public ::testing::Test {
  protected:
    hosted::MemoryRegistry reg;

    void SetBytes(const std::string& name, std::vector<std::uint8_t> bytes) {
        reg.SetValue(kHklm, "Key", name, hosted::kRegSz, std::move(bytes));
    }
    int CountReadAs(std::uint32_t count) {
        reg.SetDword(kHklm, "Key", "Count", count);
        RegistryKey key(reg);
        key.Open(kHklm, "Key", win::kKeyRead);
        return detect::ReadEntryCount(key);
    }
    void TearDown() override { EXPECT_EQ(reg.OpenKeyCount(), 0); }
};

TEST_F(RegistryReaders, MissingValuesReadAsEmptyAndZero) {
    reg.CreateKey(kHklm, "Key");
    RegistryKey key(reg);
    ASSERT_EQ(key.Open(kHklm, "Key", win::kKeyRead), win::kErrorSuccess);
    EXPECT_EQ(detect::ReadRegString(key, "Missing"), "");
    EXPECT_EQ(detect::ReadRegDword(key, "Missing"), 0u);
}

TEST_F(RegistryReaders, StringsEndAtTheirFirstNul) {
    SetBytes("Two", {'a', 'b', 0, 'c', 0});
    RegistryKey key(reg);
    key.Open(kHklm, "Key", win::kKeyRead);
    EXPECT_EQ(detect::ReadRegString(key, "Two"), "ab");
}

TEST_F(RegistryReaders, StringFillingItsRoomIsCutThereAndALongerOneIsUnreadable) {
    SetBytes("Full", std::vector<std::uint8_t>(1024, 'x'));  // no terminator
    SetBytes("Over", std::vector<std::uint8_t>(1025, 'x'));
    RegistryKey key(reg);
    key.Open(kHklm, "Key", win::kKeyRead);
    EXPECT_EQ(detect::ReadRegString(key, "Full"), std::string(1024, 'x'));
    EXPECT_EQ(detect::ReadRegString(key, "Over"), "");
    std::string text = "unchanged";
    EXPECT_EQ(detect::QueryString(key, "Full", 10, text), win::kErrorMoreData);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(RegistryReaders, DwordsAreLittleEndianAndOversizedOnesReadZero) {
    reg.SetDword(kHklm, "Key", "Dword", 0x8040201u);
    SetBytes("Short", {0x34, 0x12});
    SetBytes("Long", {1, 2, 3, 4, 5});
    RegistryKey key(reg);
    key.Open(kHklm, "Key", win::kKeyRead);
    EXPECT_EQ(detect::ReadRegDword(key, "Dword"), 0x8040201u);
    EXPECT_EQ(detect::ReadRegDword(key, "Short"), 0x1234u);
    EXPECT_EQ(detect::ReadRegDword(key, "Long"), 0u);
}

TEST_F(RegistryReaders, EntryCountIsTheLowByteAsASignedNumber) {
    EXPECT_EQ(CountReadAs(3), 3);
    EXPECT_EQ(CountReadAs(261), 5);
    EXPECT_EQ(CountReadAs(256), 0);
    EXPECT_EQ(CountReadAs(200), -56);
    EXPECT_EQ(CountReadAs(127), 127);
    EXPECT_EQ(CountReadAs(128), -128);
}

TEST_F(RegistryReaders, KeyClosesWhenItLeavesScope) {
    reg.CreateKey(kHklm, "Key");
    {
        RegistryKey key(reg);
        ASSERT_EQ(key.Open(kHklm, "Key", win::kKeyRead), win::kErrorSuccess);
        ASSERT_EQ(key.Open(kHklm, "Key", win::kKeyRead), win::kErrorSuccess);  // reopened
        EXPECT_EQ(reg.OpenKeyCount(), 1);
        RegistryKey missing(reg);
        EXPECT_EQ(missing.Open(kHklm, "Nothing", win::kKeyRead), win::kErrorFileNotFound);
        EXPECT_FALSE(missing.IsOpen());
    }
    EXPECT_EQ(reg.OpenKeyCount(), 0);
}

}  // namespace
