// How the seam's opens share a file with another opener: the run-time's
// reading open shares it for reading and writing, the framework's (the
// length, and the install page's test whether a target exists) with nobody.
#include <string>

#include "platform/win32/windows_api.h"
#include "probe_checks.h"

namespace probe {

namespace {

// What the seam's two opens of the path meet while another handle holds it
// open with the sharing given.
std::string OpensWhileHeld(platform::FileSystem& files, platform::System& system,
                           const std::string& path, DWORD sharing) {
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (other == INVALID_HANDLE_VALUE) {
        return "not held";
    }
    const int handle = files.OpenRead(path);
    std::string seen = "_open " + std::string(handle >= 0 ? "opens" : "fails") + " " +
                       std::to_string(handle >= 0 ? 0 : system.GetLastError());
    if (handle >= 0) {
        files.Close(handle);
    }
    std::uint64_t length = 0;
    const bool measured = files.GetFileLength(path, length);
    seen += ", CFile " + std::string(measured ? "opens" : "fails") + " " +
            std::to_string(measured ? 0 : system.GetLastError());
    ::CloseHandle(other);
    return seen;
}

}  // namespace

void CheckSharing(platform::FileSystem& files, platform::System& system, const std::string& folder,
                  Report& report) {
    const std::string path = folder + "\\payload.bin";
    const std::string sharing =
        OpensWhileHeld(files, system, path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    report.Expect("held open by a sharing reader: _open shares, CFile-style opening fails with 32",
                  sharing == "_open opens 0, CFile fails 32", sharing);
    const std::string exclusive = OpensWhileHeld(files, system, path, 0);
    report.Expect("held open by a reader that shares nothing: both fail with 32",
                  exclusive == "_open fails 32, CFile fails 32", exclusive);

    const int handle = files.OpenRead(path);
    const bool closed = handle >= 0 && files.Close(handle) == 0;
    std::uint8_t byte = 0;
    report.Expect("a file number closed, or never opened, is refused by each call",
                  closed && files.Close(handle) == -1 && files.Read(handle, &byte, 1) == -1 &&
                      files.Write(handle, &byte, 1) == -1 && files.Seek(handle, 0) == -1 &&
                      files.Read(-1, &byte, 1) == -1);
}

}  // namespace probe
