// The last-error slot of one simulated machine: every failing call of its
// file system and system sets it, as Windows sets a thread's last error.
#pragma once

#include <cstdint>

namespace hosted {

class LastError {
  public:
    std::uint32_t Get() const { return code_; }
    void Set(std::uint32_t code) { code_ = code; }

  private:
    std::uint32_t code_ = 0;
};

}  // namespace hosted
