#include "store/module_header.h"

#include <cstring>

namespace store {

namespace {

// A bounded copy of width bytes: the characters up to the terminating zero,
// then zero bytes up to the width; a text of the width or longer is cut and
// has no terminator.
void CopyBounded(char* to, const char* from, std::uint32_t width) {
    std::uint32_t i = 0;
    for (; i < width && from[i] != '\0'; ++i) {
        to[i] = from[i];
    }
    for (; i < width; ++i) {
        to[i] = '\0';
    }
}

void PutDword(std::uint8_t* at, std::uint32_t v) {
    at[0] = ByteOfDword(v, 3);
    at[1] = ByteOfDword(v, 2);
    at[2] = ByteOfDword(v, 1);
    at[3] = ByteOfDword(v, 0);
}

std::uint32_t GetDword(const std::uint8_t* at) {
    return DwordFromBytes(at[0], at[1], at[2], at[3]);
}

}  // namespace

void HeaderToBytes(const ModuleHeader& header, std::uint8_t* buffer) {
    PutDword(buffer + kPayloadSizeOffset, header.payloadSize);
    CopyBounded(reinterpret_cast<char*>(buffer + kTagOffset), header.tag, kTagFieldWidth);
    CopyBounded(reinterpret_cast<char*>(buffer + kFileNameOffset), header.fileName,
                kPathFieldWidth);
    CopyBounded(reinterpret_cast<char*>(buffer + kExtractPathOffset), header.extractPath,
                kPathFieldWidth);
    PutDword(buffer + kAttributesOffset, header.attributes);
    PutDword(buffer + kTrailerLengthOffset, header.trailerLength);
}

void BytesToHeader(const std::uint8_t* buffer, ModuleHeader& header) {
    header.payloadSize = GetDword(buffer + kPayloadSizeOffset);
    CopyBounded(header.tag, reinterpret_cast<const char*>(buffer + kTagOffset), kTagFieldWidth);
    CopyBounded(header.fileName, reinterpret_cast<const char*>(buffer + kFileNameOffset),
                kPathFieldWidth);
    CopyBounded(header.extractPath, reinterpret_cast<const char*>(buffer + kExtractPathOffset),
                kPathFieldWidth);
    header.attributes = GetDword(buffer + kAttributesOffset);
    header.trailerLength = GetDword(buffer + kTrailerLengthOffset);
}

}  // namespace store
