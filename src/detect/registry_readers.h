// Reading values of an open registry key. A string never runs past the
// bytes the registry stored: a value without a terminator ends where its
// data ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "detect/registry_key.h"

namespace detect {

// RegQueryValueExA into a buffer of room bytes; on success data holds the
// bytes stored. Returns the Windows result.
std::uint32_t QueryValue(const RegistryKey& key, const char* name, std::uint32_t room,
                         std::vector<std::uint8_t>& data);

// QueryValue, and on success text is the data up to its first NUL.
std::uint32_t QueryString(const RegistryKey& key, const char* name, std::uint32_t room,
                          std::string& text);

// The value as a string read with 1,024 bytes of room; empty when missing or
// unreadable.
std::string ReadRegString(const RegistryKey& key, const char* name);

// The value's first four bytes as a little-endian number; 0 when missing or
// unreadable.
std::uint32_t ReadRegDword(const RegistryKey& key, const char* name);

// The low 8 bits of "Count" taken as a signed number, as the callers that
// walk numbered entries use it: 200 reads as -56 and walks nothing.
int ReadEntryCount(const RegistryKey& key);

}  // namespace detect
