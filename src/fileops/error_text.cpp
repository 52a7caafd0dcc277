#include "fileops/error_text.h"

namespace fileops {

std::string GetLastErrorText(platform::System& system) {
    const std::uint32_t code = system.GetLastError();
    return system.FormatMessageA(code);
}

}  // namespace fileops
