// Module tags: every tag begins with the store prefix; the modules of a drive
// variant carry the predefined prefix and one variant character.
#pragma once

#include <cstddef>

namespace store {

inline constexpr char kStorePrefix[] = "NRVK_OEM_INSTALLER";
inline constexpr char kPredefinedPrefix[] = "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_";
inline constexpr char kOrcaTag[] = "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_O";
inline constexpr char kKestrelTag[] = "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_K";

inline constexpr std::size_t kStorePrefixLength = sizeof kStorePrefix - 1;        // 18
inline constexpr std::size_t kTagMatchLength = sizeof kPredefinedPrefix - 1 + 1;  // 35

}  // namespace store
