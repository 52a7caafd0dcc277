#include "platform/win32/win32_registry.h"

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The seam's key numbers are the system's handles, predefined roots included.
static_assert(sizeof(win::HKEY) == sizeof(HKEY));

HKEY ToHandle(win::HKEY key) {
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

std::uint32_t Win32Registry::RegOpenKeyExA(win::HKEY parent, const char* subKey,
                                           std::uint32_t access, win::HKEY* result) {
    HKEY opened = nullptr;
    LONG status = ::RegOpenKeyExA(ToHandle(parent), subKey, 0, access, &opened);
    if (status == ERROR_SUCCESS) {
        *result = reinterpret_cast<win::HKEY>(opened);
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::RegQueryValueExA(win::HKEY key, const char* valueName,
                                              std::uint32_t* type, std::uint8_t* data,
                                              std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD room = size != nullptr ? *size : 0;
    LONG status = ::RegQueryValueExA(ToHandle(key), valueName, nullptr, &valueType, data,
                                     size != nullptr ? &room : nullptr);
    if (type != nullptr) {
        *type = valueType;
    }
    if (size != nullptr) {
        *size = room;
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::RegEnumKeyExA(win::HKEY key, std::uint32_t index, char* name,
                                           std::uint32_t* size) {
    DWORD room = *size;
    LONG status =
        ::RegEnumKeyExA(ToHandle(key), index, name, &room, nullptr, nullptr, nullptr, nullptr);
    *size = room;
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Win32Registry::RegCloseKey(win::HKEY key) {
    return static_cast<std::uint32_t>(::RegCloseKey(ToHandle(key)));
}

}  // namespace platform::win32
