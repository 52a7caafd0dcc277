#include "detect/platform_test.h"

#include "platform/win_constants.h"

namespace detect {

bool IsNtPlatform(platform::System& system) {
    std::uint32_t platformId = 0;
    if (!system.GetVersionExA(platformId)) {
        return false;
    }
    return platformId == win::kVerPlatformWin32Nt;
}

}  // namespace detect
