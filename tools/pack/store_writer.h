// The producer side of the module store: an installer file written as the
// executable image followed by modules, each its payload scrambled chunk by
// chunk and its 660-byte trailer.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "module_spec.h"

namespace pack {

// Where one appended module lies in the installer file.
struct ModulePlacement {
    std::uint32_t payloadOffset;
    std::uint32_t trailerOffset;
};

class StoreWriter {
  public:
    // Writes the executable image: the stub's bytes, then four zero bytes
    // unless the stub already ends with four, so that a reader walking back
    // from the first module finds a trailer length below 660 there.
    StoreWriter(std::ostream& out, std::istream& stub);

    // Appends a module: payloadSize bytes taken from payload, then its
    // trailer with the reserved bytes 0xCD. Texts longer than their fields
    // are cut to the field. Throws PackError, before writing anything, when
    // the payload does not fit the 32-bit size field or the installer would
    // outgrow signed 32-bit offsets, and when payload ends early or a write
    // fails.
    ModulePlacement Append(std::istream& payload, std::uint64_t payloadSize,
                           const ModuleSpec& spec);

    // Bytes written so far.
    std::uint64_t Size() const { return size_; }

  private:
    void Put(const std::uint8_t* bytes, std::size_t count);

    std::ostream& out_;
    std::uint64_t size_ = 0;
};

}  // namespace pack
