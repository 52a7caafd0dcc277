#include "platform/win32/win32_system.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The 95 family knows only this first form of the version record.
static_assert(sizeof(OSVERSIONINFOA) == 148);

bool Win32System::GetVersionExA(std::uint32_t& platformId) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) {
        return false;
    }
    platformId = info.dwPlatformId;
    return true;
}

std::uint32_t Win32System::GetCurrentDirectoryA(std::uint32_t size, char* buffer) {
    return ::GetCurrentDirectoryA(size, buffer);
}

std::uint32_t Win32System::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    return ::GetModuleFileNameA(nullptr, buffer, size);
}

std::uint32_t Win32System::GetLogicalDrives() {
    return ::GetLogicalDrives();
}

int Win32System::WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                                     int targetSize) {
    static_assert(sizeof(WCHAR) == sizeof(std::uint16_t));
    return ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(source), count, target,
                                 targetSize, nullptr, nullptr);
}

std::uint32_t Win32System::GetLastError() {
    return ::GetLastError();
}

void Win32System::SetLastError(std::uint32_t code) {
    ::SetLastError(code);
}

std::string Win32System::FormatMessageA(std::uint32_t code) {
    char* text = nullptr;
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) {
        ::LocalFree(text);
    }
    return message;
}

}  // namespace platform::win32
