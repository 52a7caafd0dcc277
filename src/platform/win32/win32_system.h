// Facts of the running Windows and its last error, straight from the kernel.
#pragma once

#include "platform/system.h"

namespace platform::win32 {

class Win32System final : public System {
  public:
    bool GetVersionExA(std::uint32_t& platformId) override;
    std::uint32_t GetCurrentDirectoryA(std::uint32_t size, char* buffer) override;
    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
    std::uint32_t GetLogicalDrives() override;
    int WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                            int targetSize) override;

    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t code) override;
    std::string FormatMessageA(std::uint32_t code) override;
};

}  // namespace platform::win32
