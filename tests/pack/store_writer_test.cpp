// The store writer alone: the four zero bytes that end the image, where a
// module lands, and the payloads it refuses before writing or as they end.
#include "store_writer.h"

#include <gmock/gmock.h>

#include <sstream>

#include "pack_error.h"

namespace {

using namespace std::string_literals;
using testing::HasSubstr;
using testing::ThrowsMessage;

TEST(StoreWriter, EndsTheImageWithFourZeroBytesAndRefusesPayloadsBeyondItsNumbersOrEndingEarly) {
    for (const std::string& stub :
         {"MZ\0\0\0\0"s, "MZ\1\0\0\0"s, "\0\0\0\1"s, "\0\0"s, ""s, std::string(2051, 'x')}) {
        const std::string image = stub + (stub.ends_with("\0\0\0\0"s) ? "" : "\0\0\0\0"s);
        std::istringstream in(stub), payload("abc");
        std::ostringstream out;
        pack::StoreWriter writer(out, in);
        const pack::ModulePlacement placement = writer.Append(payload, 3, {});
        EXPECT_EQ(out.str().substr(0, placement.payloadOffset + 3), image + "abc");
        EXPECT_EQ(placement.trailerOffset, image.size() + 3);
        EXPECT_EQ(writer.Size(), image.size() + 3 + 660);
    }
    std::istringstream stub("stub"), payload(std::string(1500, 'p'));
    std::ostringstream out;
    pack::StoreWriter writer(out, stub);
    for (const auto& [size, says] : {std::pair{4ull << 30, "over 4 GiB - 1"s},
                                     {0x7FFFFFFFu - 667, "below 2 GiB"},
                                     {2000, "ends before its 2000"}}) {
        EXPECT_THAT([&] { writer.Append(payload, size, {}); },
                    ThrowsMessage<pack::PackError>(HasSubstr(says)));
    }
    EXPECT_EQ(out.str().size(), 8u + 1024);  // the first chunk of the short payload alone
}

}  // namespace
