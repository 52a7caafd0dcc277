// The self-inverse transform under which each 1024-byte chunk of a payload
// is stored.
#pragma once

#include <cstdint>

namespace store {

inline constexpr std::uint32_t kScramblingKey = 27561849;
inline constexpr std::uint32_t kChunkSize = 1024;

void ScrambleBuffer(std::uint8_t* data, std::uint32_t length, std::uint32_t key);

}  // namespace store
