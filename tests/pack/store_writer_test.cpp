#include "store_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "pack_error.h"
#include "store/module_header.h"

namespace {

using pack::StoreWriter;

std::string Image(const std::string& stub) {
    std::istringstream in(stub);
    std::ostringstream out;
    StoreWriter writer(out, in);
    EXPECT_EQ(writer.Size(), out.str().size());
    return out.str();
}

TEST(StoreWriterImage, EndsWithFourZeroBytes) {
    EXPECT_EQ(Image(std::string("MZ\0\0\0\0", 6)), std::string("MZ\0\0\0\0", 6));
    EXPECT_EQ(Image(std::string("MZ\0\0\0\1", 6)), std::string("MZ\0\0\0\1\0\0\0\0", 10));
    EXPECT_EQ(Image(std::string("\0\0", 2)), std::string(6, '\0'));
    EXPECT_EQ(Image(""), std::string(4, '\0'));
    const std::string big(2048 + 3, 'x');
    EXPECT_EQ(Image(big), big + std::string(4, '\0'));
}

TEST(StoreWriterModule, TrailerCarriesTheSpecWithReservedBytesCd) {
    std::istringstream stub("stub");
    std::ostringstream out;
    StoreWriter writer(out, stub);
    std::istringstream payload("abc");
    const pack::ModulePlacement placement =
        writer.Append(payload, 3, {"NRVK_OEM_INSTALLER_PREDEFFILE_IDX_O", "Stash.ini", "", 0x2});
    EXPECT_EQ(placement.payloadOffset, 8u);
    EXPECT_EQ(placement.trailerOffset, 11u);

    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 11u + 660u);
    EXPECT_EQ(bytes.substr(8, 3), "abc");  // under four bytes: stored as it is
    const auto* trailer = reinterpret_cast<const std::uint8_t*>(bytes.data() + 11);
    store::ModuleHeader header{};
    store::BytesToHeader(trailer, header);
    EXPECT_EQ(header.payloadSize, 3u);
    EXPECT_STREQ(header.tag, "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_O");
    EXPECT_STREQ(header.fileName, "Stash.ini");
    EXPECT_EQ(header.attributes, 0x2u);
    EXPECT_EQ(header.trailerLength, 660u);
    for (std::size_t i = store::kReservedOffset; i < store::kFileNameOffset; ++i) {
        ASSERT_EQ(trailer[i], 0xCD) << i;
    }
}

TEST(StoreWriterModule, RefusesSizesBeyondTheStoresNumbersBeforeWriting) {
    std::istringstream stub("stub");
    std::ostringstream out;
    StoreWriter writer(out, stub);
    std::istringstream payload("");
    EXPECT_THROW(writer.Append(payload, 0x100000000ull, {}), pack::PackError);
    EXPECT_THROW(writer.Append(payload, 0x7FFFFFFFull - 8 - 660 + 1, {}), pack::PackError);
    EXPECT_EQ(out.str().size(), 8u);
}

TEST(StoreWriterModule, RefusesAPayloadThatEndsEarly) {
    std::istringstream stub("stub");
    std::ostringstream out;
    StoreWriter writer(out, stub);
    std::istringstream payload(std::string(1500, 'p'));
    EXPECT_THROW(writer.Append(payload, 2000, {}), pack::PackError);
}

}  // namespace
