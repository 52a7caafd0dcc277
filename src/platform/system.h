// System facts and the last error, as the kernel reports them.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class System {
  public:
    virtual ~System() = default;

    // GetVersionExA with a 148-byte OSVERSIONINFOA: false when the call
    // fails, else the platform id.
    virtual bool GetVersionExA(std::uint32_t& platformId) = 0;
    // GetCurrentDirectoryA(size, buffer): with too little room, the room
    // needed (terminator included); else the length copied (terminator
    // excluded); 0 on failure.
    virtual std::uint32_t GetCurrentDirectoryA(std::uint32_t size, char* buffer) = 0;
    // GetModuleFileNameA(NULL, buffer, size): the length copied, 0 on failure.
    // A path that does not fit is cut and terminated, as on Windows XP.
    virtual std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) = 0;
    // GetLogicalDrives: bit n set when drive 'A' + n exists.
    virtual std::uint32_t GetLogicalDrives() = 0;
    // WideCharToMultiByte(CP_ACP, 0, source, count, target, targetSize, NULL,
    // NULL): the count of bytes written, 0 on failure.
    virtual int WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                                    int targetSize) = 0;

    virtual std::uint32_t GetLastError() = 0;
    virtual void SetLastError(std::uint32_t code) = 0;
    // FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM ..., code, LANG_NEUTRAL): the
    // system's text for the code as it stands (Windows ends it with "\r\n"),
    // or an empty text when the system has none.
    virtual std::string FormatMessageA(std::uint32_t code) = 0;
};

}  // namespace platform
