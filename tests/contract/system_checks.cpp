#include "contract.h"
#include "platform/win_constants.h"

namespace contract {

void CheckSystem(Checks& checks, Seam& seam, const Fixture& fixture) {
    platform::System& system = seam.system;
    std::uint32_t platformId = 99;
    CHECK_TRUE(system.GetVersionExA(platformId) && platformId == fixture.platformId);
    // Measured, then with one byte too little room, then copied.
    const std::uint32_t needed = fixture.currentDirectory.size() + 1;
    char text[win::kMaxPath] = {};
    CHECK_EQ(system.GetCurrentDirectoryA(0, nullptr), needed);
    CHECK_EQ(system.GetCurrentDirectoryA(needed - 1, text), needed);
    CHECK_EQ(system.GetCurrentDirectoryA(needed, text), needed - 1);
    CHECK_EQ(std::string(text), fixture.currentDirectory);
    char module[win::kMaxPath] = {};
    const std::uint32_t length = system.GetModuleFileNameA(module, sizeof module);
    CHECK_TRUE(length == std::string(module).size() && system.GetModuleFileNameA(text, 9) == 9 &&
               std::string(text, 8) == std::string(module, 8));
    const std::uint32_t drives = system.GetLogicalDrives();
    CHECK_TRUE((drives >> 2 & 1) != 0 && (drives >> (fixture.drive - 'A') & 1) != 0);
    // The ANSI code page is Windows-1252; what it cannot hold becomes '?'.
    const std::uint16_t wide[] = {'R', 'o', 'v', 'a', 'n', 'e', 0xE9, 0x20AC, 0x4E2D, 0};
    CHECK_EQ(system.WideCharToMultiByte(wide, 9, text, sizeof text), 9);
    CHECK_EQ(std::string(text, 9), "Rovane\xE9\x80?");
    CHECK_EQ(system.WideCharToMultiByte(wide, -1, nullptr, 0), 10);
    CHECK_EQ(system.WideCharToMultiByte(wide, -1, text, sizeof text), 10);
    CHECK_EQ(std::string(text), "Rovane\xE9\x80?");
    CHECK_ERROR(system.WideCharToMultiByte(wide, 9, text, 4) > 0, win::kErrorInsufficientBuffer);
    system.SetLastError(win::kErrorInvalidParameter);
    CHECK_EQ(system.GetLastError(), win::kErrorInvalidParameter);
    const std::string message = system.FormatMessageA(win::kErrorFileNotFound);
    CHECK_TRUE(message.size() > 2 && message.ends_with("\r\n"));
    CHECK_EQ(system.FormatMessageA(0x2000FFFFu), "");
}

}  // namespace contract
