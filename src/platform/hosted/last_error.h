// The last-error slot of one simulated machine. Its file system and its
// system facts share one slot, as the calls of one Windows thread do, so a
// failing file call is what GetLastError then reports.
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
