// The module trailer: the 660-byte big-endian record that follows each
// module's payload in the installer file, and its in-memory form.
#pragma once

#include <cstdint>

namespace store {

inline constexpr std::uint32_t kTrailerLength = 660;
inline constexpr std::uint32_t kTagFieldWidth = 64;
inline constexpr std::uint32_t kPathFieldWidth = 260;

// Offsets of the fields in a trailer.
inline constexpr std::uint32_t kPayloadSizeOffset = 0;
inline constexpr std::uint32_t kTagOffset = 4;
inline constexpr std::uint32_t kReservedOffset = 68;
inline constexpr std::uint32_t kFileNameOffset = 132;
inline constexpr std::uint32_t kExtractPathOffset = 392;
inline constexpr std::uint32_t kAttributesOffset = 652;
inline constexpr std::uint32_t kTrailerLengthOffset = 656;

struct ModuleHeader {
    std::uint32_t payloadSize;
    char tag[2 * kTagFieldWidth];  // the second half is never filled from a trailer
    char fileName[kPathFieldWidth];
    char extractPath[kPathFieldWidth];
    std::uint32_t attributes;
    std::uint32_t trailerLength;
};

// Byte k (0 least significant .. 3 most significant) of v. Inline, as the
// payload scrambling calls both for every word it transforms.
inline std::uint8_t ByteOfDword(std::uint32_t v, int k) {
    const unsigned shift = 8u * static_cast<unsigned>(k);
    return static_cast<std::uint8_t>((v & (0xFFu << shift)) >> shift);
}
// The big-endian number b0 b1 b2 b3; only the low 8 bits of each count.
inline std::uint32_t DwordFromBytes(unsigned b0, unsigned b1, unsigned b2, unsigned b3) {
    return ((b0 & 0xFFu) << 24) | ((b1 & 0xFFu) << 16) | ((b2 & 0xFFu) << 8) | (b3 & 0xFFu);
}

// Writes the trailer form of header into the first 660 bytes of buffer;
// the reserved bytes 68..131 keep what the buffer held.
void HeaderToBytes(const ModuleHeader& header, std::uint8_t* buffer);
// Reads a trailer into header; the second half of header.tag is untouched.
void BytesToHeader(const std::uint8_t* buffer, ModuleHeader& header);

}  // namespace store
