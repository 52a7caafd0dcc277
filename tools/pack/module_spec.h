// What a module's trailer says of it, beside the size of its payload, and
// the rules a module must keep to be installed safely.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win_constants.h"
#include "store/module_header.h"

namespace pack {

struct ModuleSpec {
    std::string tag;
    std::string fileName;
    std::string extractPath;
    std::uint32_t attributes = win::kFileAttributeNormal;
};

// The texts of a trailer as read into a record: each up to its first zero
// byte, at most the field's width.
ModuleSpec SpecOfHeader(const store::ModuleHeader& header);

// Empty when the module can be installed as it says; otherwise what is wrong
// with it, such as "file name holds a backslash". The tag begins with the
// store prefix and fits its field; the file name is a bare name and the
// extract-to path a relative folder, each of at most 259 characters, with no
// "." or ".." among their names; the attributes are bits that can be set on
// a file.
std::string ModuleDefect(const ModuleSpec& spec);

}  // namespace pack
