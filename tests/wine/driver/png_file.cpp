#include "png_file.h"

#include <array>
#include <cstdio>

namespace driver {

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Deflate's bit order: values least significant bit first, Huffman codes
// most significant bit first.
class BitWriter {
  public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            Bit((value >> i) & 1);
        }
    }
    void Code(std::uint32_t code, int length) {
        for (int i = length - 1; i >= 0; --i) {
            Bit((code >> i) & 1);
        }
    }
    void Flush() {
        if (used_ != 0) {
            out_.push_back(current_);
            current_ = 0;
            used_ = 0;
        }
    }

  private:
    void Bit(std::uint32_t bit) {
        current_ |= static_cast<std::uint8_t>(bit << used_);
        if (++used_ == 8) {
            Flush();
        }
    }

    std::vector<std::uint8_t>& out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// The fixed literal/length code of a symbol from 0 to 287.
void PutSymbol(BitWriter& bits, int symbol) {
    if (symbol < 144) {
        bits.Code(0x30 + symbol, 8);
    } else if (symbol < 256) {
        bits.Code(0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
        bits.Code(symbol - 256, 7);
    } else {
        bits.Code(0xC0 + symbol - 280, 8);
    }
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter& bits, int length, int distance) {
    int code = static_cast<int>(kLengthBase.size()) - 1;
    while (kLengthBase[code] > length) {
        --code;
    }
    PutSymbol(bits, 257 + code);
    bits.Bits(length - kLengthBase[code], kLengthExtra[code]);
    code = static_cast<int>(kDistanceBase.size()) - 1;
    while (kDistanceBase[code] > distance) {
        --code;
    }
    bits.Code(code, 5);
    bits.Bits(distance - kDistanceBase[code], kDistanceExtra[code]);
}

std::size_t MatchLength(const std::vector<std::uint8_t>& data, std::size_t at,
                        std::size_t distance) {
    if (distance == 0 || distance > at || distance > 32768) {
        return 0;
    }
    std::size_t length = 0;
    while (length < 258 && at + length < data.size() &&
           data[at + length] == data[at + length - distance]) {
        ++length;
    }
    return length;
}

// A zlib stream of one deflate block with the fixed codes.
std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& data, std::size_t rowLength) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    BitWriter bits(out);
    bits.Bits(1, 1);  // the final block
    bits.Bits(1, 2);  // fixed codes
    std::size_t at = 0;
    while (at < data.size()) {
        std::size_t distance = 3;
        std::size_t length = MatchLength(data, at, 3);
        const std::size_t above = MatchLength(data, at, rowLength);
        if (above > length) {
            distance = rowLength;
            length = above;
        }
        if (length >= 3) {
            PutMatch(bits, static_cast<int>(length), static_cast<int>(distance));
            at += length;
        } else {
            PutSymbol(bits, data[at]);
            ++at;
        }
    }
    PutSymbol(bits, 256);
    bits.Flush();
    PutBigEndian(out, Adler32(data));
    return out;
}

void PutChunk(std::vector<std::uint8_t>& file, const char* type,
              const std::vector<std::uint8_t>& body) {
    PutBigEndian(file, static_cast<std::uint32_t>(body.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    file.insert(file.end(), typed.begin(), typed.end());
    PutBigEndian(file, Crc32(typed.data(), typed.size()));
}

}  // namespace

bool WritePng(const std::string& path, const Picture& picture) {
    const std::size_t rowLength = 1 + 3 * static_cast<std::size_t>(picture.width);
    std::vector<std::uint8_t> rows;
    rows.reserve(rowLength * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        rows.push_back(0);  // no filter
        const auto row = picture.rgb.begin() + static_cast<std::ptrdiff_t>(y) * (rowLength - 1);
        rows.insert(rows.end(), row, row + static_cast<std::ptrdiff_t>(rowLength - 1));
    }

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(picture.width));
    PutBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", Compress(rows, rowLength));
    PutChunk(file, "IEND", {});

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace driver
