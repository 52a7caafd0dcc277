#include "platform/hosted/codepage_1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Codepage1252, EveryByteComesBackFromItsCodeUnit) {
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        EXPECT_EQ(hosted::ToWindows1252(hosted::FromWindows1252(byte)), byte) << value;
    }
    EXPECT_EQ(hosted::FromWindows1252('\x80'), 0x20AC);  // the euro sign
    EXPECT_EQ(hosted::FromWindows1252('\xE4'), 0x00E4);
    EXPECT_EQ(hosted::FromWindows1252('\x81'), 0x0081);  // undefined: the C1 control
}

}  // namespace
