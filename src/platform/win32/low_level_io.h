// The C run-time's low-level file I/O over the kernel's file handles, with
// the run-time's return conventions: a file number >= 0 or -1 from _open, a
// count or -1 from _read and _write, the new position or -1 from _lseek, 0
// or -1 from _close. A failing call leaves the system's last error set.
#pragma once

namespace platform::win32::crt {

// The _open flags and permission bits that the installer uses, with the
// run-time's values: _O_RDONLY, _O_WRONLY, _O_CREAT, _O_EXCL, _O_BINARY,
// _S_IWRITE and _S_IREAD.
inline constexpr int kReadOnly = 0x0000;
inline constexpr int kWriteOnly = 0x0001;
inline constexpr int kCreate = 0x0100;
inline constexpr int kExclusive = 0x0400;
inline constexpr int kBinary = 0x8000;
inline constexpr int kWritable = 0x0080;
inline constexpr int kReadable = 0x0100;

// Opens an existing file for reading (kReadOnly), or creates a new one for
// writing (kCreate | kExclusive | kWriteOnly), which fails with last error
// 80 when the path exists. Other openers may read and write it meanwhile, as
// the run-time allows; without kWritable the new file is read-only. Files
// are always binary.
int _open(const char* path, int flags, int permissions = 0);
int _read(int file, void* buffer, unsigned count);
// From the start of the file (SEEK_SET) only.
long _lseek(int file, long offset);
int _write(int file, const void* buffer, unsigned count);
int _close(int file);

}  // namespace platform::win32::crt
