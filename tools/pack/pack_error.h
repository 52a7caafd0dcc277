// The one kind of error stashwell-pack reports: a one-line text that says
// what is wrong with which input.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/hosted/input_file.h"

namespace pack {

class PackError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws "cannot read the WHAT PATH: why" unless the file can be read.
inline void RequireReadable(const std::filesystem::path& path, const std::string& what) {
    if (const std::string problem = hosted::InputFileProblem(path.string()); !problem.empty()) {
        throw PackError("cannot read the " + what + " " + path.string() + ": " + problem);
    }
}

}  // namespace pack
