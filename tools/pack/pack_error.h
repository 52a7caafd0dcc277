// The one kind of error stashwell-pack reports: a one-line text that says
// what is wrong with which input.
#pragma once

#include <stdexcept>

namespace pack {

class PackError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace pack
