// The files that the tools read (registry exports, manifests, stubs, module
// sources, installers), opened with what is wrong told in this system's own
// words.
#pragma once

#include <string>

namespace hosted {

// Empty when the path names a regular file that can be opened for reading;
// otherwise why not: "no such file", "is a folder", "not a regular file",
// "permission denied", and the like.
std::string InputFileProblem(const std::string& path);

// The whole file into bytes; false with error "PATH: cannot be read: WHY".
bool ReadInputFile(const std::string& path, std::string& bytes, std::string& error);

}  // namespace hosted
