// The trailer's layout and the scrambling, against bytes laid out by hand.
#include <gtest/gtest.h>

#include <cstring>

#include "store/module_header.h"
#include "store/scramble.h"
#include "testbed/installer.h"

namespace {

using namespace store;
using namespace std::string_literals;

// Tag and file name fill their fields, so have no terminator; the reserved
// bytes are 0xCD and stay as the buffer held them.
TEST(StoreFormat, TrailerFieldsSitAtTheirOffsetsBigEndian) {
    std::string raw = std::string(4, 1) + std::string(64, 'T') + std::string(64, '\xCD') +
                      std::string(260, 'F') + "Help" + std::string(256, 0) +
                      "\x80\0\0\2\0\0\2\x94"s;
    ModuleHeader h;
    std::memset(&h, 'x', sizeof h);
    BytesToHeader(reinterpret_cast<std::uint8_t*>(raw.data()), h);
    EXPECT_EQ(std::tuple(h.payloadSize, h.attributes, h.trailerLength, std::string(h.tag, 65),
                         std::string(h.fileName, 260), std::string(h.extractPath)),
              std::tuple(0x01010101u, 0x80000002u, 660u, std::string(64, 'T') + 'x',
                         std::string(260, 'F'), "Help"));
    std::string written(660, '\xCD');
    HeaderToBytes(h, reinterpret_cast<std::uint8_t*>(written.data()));
    EXPECT_EQ(written, raw);
}

// Only the words that start below a quarter of the length change (every byte
// of them: the key has no zero byte), and a second pass undoes the first.
TEST(StoreFormat, ScramblingXorsTheWordsBelowAQuarterWithTheKey) {
    for (const auto& [length, changed] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {3, 0}, {4, 4}, {19, 4}, {20, 8}, {452, 116}, {1023, 256}, {1024, 256}}) {
        std::string bytes = testbed::Pattern(length);
        ScrambleBuffer(reinterpret_cast<std::uint8_t*>(bytes.data()), length, kScramblingKey);
        for (std::uint32_t i = 0; i < length; ++i) {
            EXPECT_EQ(bytes[i] != testbed::Pattern(length)[i], i < changed) << length << ": " << i;
        }
        ScrambleBuffer(reinterpret_cast<std::uint8_t*>(bytes.data()), length, kScramblingKey);
        EXPECT_EQ(bytes, testbed::Pattern(length));
    }
    std::string word("\0\0\0\1", 4);
    ScrambleBuffer(reinterpret_cast<std::uint8_t*>(word.data()), 4, kScramblingKey);
    EXPECT_EQ(word, "\x01\xA4\x8F\x78");  // the key, 27561849, XOR 1
}

}  // namespace
