// Loading .reg files, as the registry editor exports them, into an
// in-memory registry, so that a registry exported on a real machine can be
// replayed. Both formats are read: "REGEDIT4" (8-bit text) and "Windows
// Registry Editor Version 5.00" (UTF-16LE with a byte-order mark, or UTF-8).
//
// Keys under HKEY_LOCAL_MACHINE (HKLM) and HKEY_DYN_DATA (HKDD) are loaded;
// keys under the other roots, which a whole export holds, are checked and
// left out. [-key] deletes a key, "name"=- a value.
#pragma once

#include <string>

#include "platform/hosted/memory_registry.h"

namespace hosted {

// Loads the file at path. A file that cannot be read or is malformed
// anywhere is refused as a whole, leaving reg as it was: false, with error
// set to "FILE:LINE: what is wrong" (or "FILE: why it cannot be read").
bool LoadRegFile(const std::string& path, MemoryRegistry& reg, std::string& error);

// The same for a file's bytes; name stands for the file in the error.
bool LoadRegBytes(const std::string& name, const std::string& bytes, MemoryRegistry& reg,
                  std::string& error);

}  // namespace hosted
