#include "platform/win32/low_level_io.h"

#include "platform/win32/windows_api.h"

namespace platform::win32::crt {

namespace {

// The run-time's first file numbers are its standard streams; the installer
// holds two files open at most.
constexpr int kFirstFile = 3;
constexpr int kFileCount = 16;

HANDLE g_files[kFileCount] = {};

HANDLE HandleOf(int file) {
    if (file < kFirstFile || file >= kFirstFile + kFileCount ||
        g_files[file - kFirstFile] == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return g_files[file - kFirstFile];
}

int Number(HANDLE handle) {
    for (int slot = 0; slot < kFileCount; ++slot) {
        if (g_files[slot] == nullptr) {
            g_files[slot] = handle;
            return kFirstFile + slot;
        }
    }
    ::CloseHandle(handle);
    ::SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    return -1;
}

}  // namespace

int _open(const char* path, int flags, int permissions) {
    const bool writing = (flags & kWriteOnly) != 0;
    DWORD disposition = OPEN_EXISTING;
    if ((flags & kCreate) != 0) {
        disposition = (flags & kExclusive) != 0 ? CREATE_NEW : OPEN_ALWAYS;
    }
    const DWORD attributes = (flags & kCreate) != 0 && (permissions & kWritable) == 0
                                 ? FILE_ATTRIBUTE_READONLY
                                 : FILE_ATTRIBUTE_NORMAL;
    HANDLE handle = ::CreateFileA(path, writing ? GENERIC_WRITE : GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                  attributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return -1;
    }
    return Number(handle);
}

int _read(int file, void* buffer, unsigned count) {
    HANDLE handle = HandleOf(file);
    DWORD read = 0;
    if (handle == nullptr || !::ReadFile(handle, buffer, count, &read, nullptr)) {
        return handle != nullptr && ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return static_cast<int>(read);
}

long _lseek(int file, long offset) {
    HANDLE handle = HandleOf(file);
    if (handle == nullptr) {
        return -1;
    }
    const DWORD position = ::SetFilePointer(handle, offset, nullptr, FILE_BEGIN);
    return position == INVALID_SET_FILE_POINTER ? -1 : static_cast<long>(position);
}

// A write that moves nothing, with no error from the system, is a full disk.
int _write(int file, const void* buffer, unsigned count) {
    HANDLE handle = HandleOf(file);
    DWORD written = 0;
    if (handle == nullptr || !::WriteFile(handle, buffer, count, &written, nullptr)) {
        return -1;
    }
    if (written == 0 && count != 0) {
        ::SetLastError(ERROR_DISK_FULL);
        return -1;
    }
    return static_cast<int>(written);
}

int _close(int file) {
    HANDLE handle = HandleOf(file);
    if (handle == nullptr) {
        return -1;
    }
    g_files[file - kFirstFile] = nullptr;
    return ::CloseHandle(handle) ? 0 : -1;
}

}  // namespace platform::win32::crt
