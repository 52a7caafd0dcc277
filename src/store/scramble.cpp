#include "store/scramble.h"

#include "store/module_header.h"

namespace store {

// The loop index counts bytes while its bound counts words, so only the
// words that start below length / 4 are transformed: about the first quarter
// of the buffer. Stores in the field depend on exactly this stretch.
void ScrambleBuffer(std::uint8_t* data, std::uint32_t length, std::uint32_t key) {
    const std::uint32_t count = length / 4;
    for (std::uint32_t i = 0; i < count; i += 4) {
        std::uint32_t w = DwordFromBytes(data[i], data[i + 1], data[i + 2], data[i + 3]);
        w ^= key;
        data[i] = ByteOfDword(w, 3);
        data[i + 1] = ByteOfDword(w, 2);
        data[i + 2] = ByteOfDword(w, 1);
        data[i + 3] = ByteOfDword(w, 0);
    }
}

}  // namespace store
