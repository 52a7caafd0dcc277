// The C run-time's low-level file I/O over the kernel's file handles, with
// the run-time's return conventions: a file number >= 0 or -1 from _open, a
// count or -1 from _read and _write, the new position or -1 from _lseek, 0
// or -1 from _close. A failing call leaves the system's last error set.
#pragma once

namespace platform::win32::crt {

// The _open flags and permission bits that the installer uses, with the
// run-time's values.
inline constexpr int _O_RDONLY = 0x0000;
inline constexpr int _O_WRONLY = 0x0001;
inline constexpr int _O_CREAT = 0x0100;
inline constexpr int _O_EXCL = 0x0400;
inline constexpr int _O_BINARY = 0x8000;
inline constexpr int _S_IWRITE = 0x0080;
inline constexpr int _S_IREAD = 0x0100;

// Opens an existing file for reading (_O_RDONLY), or creates a new one for
// writing (_O_CREAT | _O_EXCL | _O_WRONLY), which fails with last error 80
// when the path exists. Other openers may read and write it meanwhile, as
// the run-time allows; without _S_IWRITE the new file is read-only. Files
// are always binary.
int _open(const char* path, int flags, int permissions = 0);
int _read(int file, void* buffer, unsigned count);
// From the start of the file (SEEK_SET) only.
long _lseek(int file, long offset);
int _write(int file, const void* buffer, unsigned count);
int _close(int file);

}  // namespace platform::win32::crt
