#include "store_writer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "pack_error.h"
#include "store/scramble.h"

namespace pack {

namespace {

constexpr std::uint8_t kReservedFill = 0xCD;
constexpr std::uint64_t kLargestOffset = std::numeric_limits<std::int32_t>::max();

// A text into a record field: a bounded copy of the field's width.
void CopyField(char* field, const std::string& text, std::size_t width) {
    std::memset(field, 0, width);
    text.copy(field, width);
}

}  // namespace

StoreWriter::StoreWriter(std::ostream& out, std::istream& stub) : out_(out) {
    std::uint8_t chunk[store::kChunkSize];
    std::uint8_t last[4] = {1, 1, 1, 1};  // a stub under four bytes gets the padding
    while (stub.read(reinterpret_cast<char*>(chunk), sizeof chunk), stub.gcount() > 0) {
        const auto count = static_cast<std::size_t>(stub.gcount());
        Put(chunk, count);
        const std::size_t keep = std::min<std::size_t>(count, 4);
        std::memmove(last, last + keep, 4 - keep);
        std::memcpy(last + 4 - keep, chunk + count - keep, keep);
    }
    if (stub.bad()) {
        throw PackError("cannot read the stub");
    }
    if (last[0] != 0 || last[1] != 0 || last[2] != 0 || last[3] != 0) {
        const std::uint8_t padding[4] = {};
        Put(padding, sizeof padding);
    }
}

ModulePlacement StoreWriter::Append(std::istream& payload, std::uint64_t payloadSize,
                                    const ModuleSpec& spec) {
    if (payloadSize > std::numeric_limits<std::uint32_t>::max()) {
        throw PackError("payload of " + std::to_string(payloadSize) + " bytes is over 4 GiB - 1");
    }
    if (size_ + payloadSize + store::kTrailerLength > kLargestOffset) {
        throw PackError("installer would reach " +
                        std::to_string(size_ + payloadSize + store::kTrailerLength) +
                        " bytes; store offsets must stay below 2 GiB");
    }
    const ModulePlacement placement{static_cast<std::uint32_t>(size_),
                                    static_cast<std::uint32_t>(size_ + payloadSize)};

    // Each chunk is scrambled over its own length, counted from the payload's
    // first byte.
    std::uint8_t chunk[store::kChunkSize];
    for (std::uint64_t left = payloadSize; left > 0;) {
        const auto length = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, sizeof chunk));
        if (!payload.read(reinterpret_cast<char*>(chunk), length)) {
            throw PackError("payload ends before its " + std::to_string(payloadSize) + " bytes");
        }
        store::ScrambleBuffer(chunk, length, store::kScramblingKey);
        Put(chunk, length);
        left -= length;
    }

    store::ModuleHeader record{};
    record.payloadSize = static_cast<std::uint32_t>(payloadSize);
    CopyField(record.tag, spec.tag, store::kTagFieldWidth);
    CopyField(record.fileName, spec.fileName, store::kPathFieldWidth);
    CopyField(record.extractPath, spec.extractPath, store::kPathFieldWidth);
    record.attributes = spec.attributes;
    record.trailerLength = store::kTrailerLength;
    std::uint8_t trailer[store::kTrailerLength];
    std::memset(trailer, kReservedFill, sizeof trailer);
    store::HeaderToBytes(record, trailer);
    Put(trailer, sizeof trailer);
    return placement;
}

void StoreWriter::Put(const std::uint8_t* bytes, std::size_t count) {
    if (!out_.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count))) {
        throw PackError("cannot write the installer");
    }
    size_ += count;
}

}  // namespace pack
