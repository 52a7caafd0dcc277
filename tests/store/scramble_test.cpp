#include "store/scramble.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_installer.h"

namespace {

using store::ScrambleBuffer;

// The offsets of the bytes that ScrambleBuffer changes in a buffer of length
// bytes. The key has no zero byte, so every byte of a transformed word
// changes.
std::vector<std::uint32_t> ChangedBytes(std::uint32_t length) {
    const std::string original = storetest::Pattern(length);
    std::string buffer = original;
    ScrambleBuffer(reinterpret_cast<std::uint8_t*>(buffer.data()), length, store::kScramblingKey);
    std::vector<std::uint32_t> changed;
    for (std::uint32_t i = 0; i < length; ++i) {
        if (buffer[i] != original[i]) {
            changed.push_back(i);
        }
    }
    return changed;
}

std::vector<std::uint32_t> Range(std::uint32_t first, std::uint32_t last) {
    std::vector<std::uint32_t> range;
    for (std::uint32_t i = first; i <= last; ++i) {
        range.push_back(i);
    }
    return range;
}

TEST(ScrambleBuffer, ChangesTheWordsBelowAQuarterOfTheLength) {
    for (std::uint32_t length = 0; length < 4; ++length) {
        EXPECT_TRUE(ChangedBytes(length).empty()) << length;
    }
    for (std::uint32_t length = 4; length < 20; ++length) {
        EXPECT_EQ(ChangedBytes(length), Range(0, 3)) << length;
    }
    EXPECT_EQ(ChangedBytes(20), Range(0, 7));
    EXPECT_EQ(ChangedBytes(116), Range(0, 31));
    EXPECT_EQ(ChangedBytes(452), Range(0, 115));
    EXPECT_EQ(ChangedBytes(1023), Range(0, 255));
    EXPECT_EQ(ChangedBytes(1024), Range(0, 255));
}

TEST(ScrambleBuffer, XorsBigEndianWordsWithTheKey) {
    std::uint8_t word[4] = {0x00, 0x00, 0x00, 0x01};
    ScrambleBuffer(word, 4, store::kScramblingKey);
    // 27561849 is 0x01A48F79.
    EXPECT_EQ(word[0], 0x01);
    EXPECT_EQ(word[1], 0xA4);
    EXPECT_EQ(word[2], 0x8F);
    EXPECT_EQ(word[3], 0x78);
}

TEST(ScrambleBuffer, UndoesItself) {
    for (const std::uint32_t length : {5u, 452u, 1024u}) {
        const std::string original = storetest::Pattern(length, length);
        std::string buffer = original;
        auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());
        ScrambleBuffer(bytes, length, store::kScramblingKey);
        ASSERT_NE(buffer, original);
        ScrambleBuffer(bytes, length, store::kScramblingKey);
        EXPECT_EQ(buffer, original) << length;
    }
}

}  // namespace
