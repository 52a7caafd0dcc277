#include "store/module_header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace store;

TEST(ByteOrder, DwordFromBytesIsBigEndianOverTheLowEightBits) {
    EXPECT_EQ(DwordFromBytes(0x00, 0x00, 0x02, 0x94), 660u);
    EXPECT_EQ(DwordFromBytes(0x1FF, 0x100, 0x2AB, 0x3CD), 0xFF00ABCDu);
    EXPECT_EQ(ByteOfDword(660, 1), 0x02);
    EXPECT_EQ(ByteOfDword(660, 0), 0x94);
    EXPECT_EQ(ByteOfDword(0x80000000u, 3), 0x80);  // no sign extension
}

ModuleHeader FullWidthRecord() {
    ModuleHeader record{};
    record.payloadSize = 0x01020304;
    std::memset(record.tag, 'T', kTagFieldWidth);
    std::memset(record.fileName, 'F', kPathFieldWidth);
    std::memset(record.extractPath, 'P', kPathFieldWidth);
    record.attributes = 0x80;
    record.trailerLength = 660;
    return record;
}

TEST(TrailerLayout, PutsEachFieldAtItsOffsetBigEndian) {
    ModuleHeader record{};
    record.payloadSize = 2500;
    std::strcpy(record.tag, "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_O");
    std::strcpy(record.fileName, "Stash.hlp");
    std::strcpy(record.extractPath, "HelpFiles");
    record.attributes = 0x2;
    record.trailerLength = 660;
    std::uint8_t bytes[kTrailerLength];
    std::memset(bytes, 0xCD, sizeof bytes);
    HeaderToBytes(record, bytes);

    EXPECT_EQ(DwordFromBytes(bytes[0], bytes[1], bytes[2], bytes[3]), 2500u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 4)), record.tag);
    EXPECT_EQ(bytes[4 + 35], 0);
    EXPECT_EQ(bytes[67], 0);  // zero-padded to the field's width
    for (int i = kReservedOffset; i < static_cast<int>(kFileNameOffset); ++i) {
        ASSERT_EQ(bytes[i], 0xCD) << "reserved byte " << i << " was written";
    }
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 132)), "Stash.hlp");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 392)), "HelpFiles");
    EXPECT_EQ(DwordFromBytes(bytes[652], bytes[653], bytes[654], bytes[655]), 2u);
    EXPECT_EQ(DwordFromBytes(bytes[656], bytes[657], bytes[658], bytes[659]), 660u);
}

TEST(TrailerLayout, FullWidthFieldsRoundTripWithoutTerminator) {
    const ModuleHeader written = FullWidthRecord();
    std::uint8_t bytes[kTrailerLength] = {};
    HeaderToBytes(written, bytes);
    EXPECT_EQ(bytes[kTagOffset + kTagFieldWidth - 1], 'T');
    EXPECT_EQ(bytes[kExtractPathOffset - 1], 'F');
    EXPECT_EQ(bytes[kAttributesOffset - 1], 'P');

    ModuleHeader read{};
    BytesToHeader(bytes, read);
    EXPECT_EQ(read.payloadSize, written.payloadSize);
    EXPECT_EQ(std::memcmp(read.tag, written.tag, kTagFieldWidth), 0);
    EXPECT_EQ(read.tag[kTagFieldWidth], '\0');
    EXPECT_EQ(std::memcmp(read.fileName, written.fileName, kPathFieldWidth), 0);
    EXPECT_EQ(std::memcmp(read.extractPath, written.extractPath, kPathFieldWidth), 0);
    EXPECT_EQ(read.attributes, 0x80u);
    EXPECT_EQ(read.trailerLength, 660u);
}

TEST(TrailerLayout, ReservedBytesAreIgnored) {
    std::uint8_t withCd[kTrailerLength];
    std::memset(withCd, 0xCD, sizeof withCd);
    std::uint8_t withZero[kTrailerLength] = {};
    HeaderToBytes(FullWidthRecord(), withCd);
    HeaderToBytes(FullWidthRecord(), withZero);

    ModuleHeader fromCd{};
    ModuleHeader fromZero{};
    BytesToHeader(withCd, fromCd);
    BytesToHeader(withZero, fromZero);
    EXPECT_EQ(std::memcmp(&fromCd, &fromZero, sizeof fromCd), 0);
}

TEST(TrailerLayout, ZeroBytesClearARecordButTheTagsSecondHalf) {
    ModuleHeader record = FullWidthRecord();
    std::memset(record.tag + kTagFieldWidth, 'R', kTagFieldWidth);
    const std::uint8_t zeros[kTrailerLength] = {};
    BytesToHeader(zeros, record);
    EXPECT_EQ(record.payloadSize, 0u);
    EXPECT_EQ(record.tag[0], '\0');
    EXPECT_EQ(record.fileName[0], '\0');
    EXPECT_EQ(record.extractPath[0], '\0');
    EXPECT_EQ(record.attributes, 0u);
    EXPECT_EQ(record.trailerLength, 0u);
    EXPECT_EQ(record.tag[kTagFieldWidth], 'R');
}

}  // namespace
