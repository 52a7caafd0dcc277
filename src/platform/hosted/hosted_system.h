// The system facts of a simulated Windows machine, set by whoever builds the
// machine, and its last error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/hosted/drive_map.h"
#include "platform/hosted/last_error.h"
#include "platform/system.h"
#include "platform/win_constants.h"

namespace hosted {

// The running program's own path, read from /proc/self/exe; empty when the
// host does not tell.
std::string HostExecutablePath();

// How GetCurrentDirectoryA answers: with the directory; with its length but
// failing when asked for the text; or failing even for the length.
enum class CurrentDirectoryMode { Readable, SizeOnly, Failing };

struct MachineFacts {
    // The platform id of GetVersionExA; none makes the call fail.
    std::optional<std::uint32_t> platformId = win::kVerPlatformWin32Nt;
    std::string currentDirectory = "C:\\";
    CurrentDirectoryMode currentDirectoryMode = CurrentDirectoryMode::Readable;
    // The last error that a refused GetCurrentDirectoryA leaves.
    std::uint32_t currentDirectoryError = win::kErrorAccessDenied;
    // The path of GetModuleFileNameA; an empty path makes the call fail.
    std::string modulePath = HostExecutablePath();
};

class HostedSystem : public platform::System {
  public:
    // The drives and the last error are kept by reference and must outlive
    // the system.
    HostedSystem(const DriveMap& drives, LastError& lastError, MachineFacts facts = {});

    // The facts may be changed at any time; the next call answers by them.
    MachineFacts& facts() { return facts_; }

    bool GetVersionExA(std::uint32_t& platformId) override;
    std::uint32_t GetCurrentDirectoryA(std::uint32_t size, char* buffer) override;
    // A path that does not fit is cut to size - 1 bytes and terminated, and
    // the result is size, as on Windows XP.
    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
    // The mapped letters; C: always exists.
    std::uint32_t GetLogicalDrives() override;
    // CP_ACP is Windows-1252 here. A code unit the page has no byte for
    // becomes '?'. A count of -1 converts up to and with the terminating
    // zero; a target size of 0 asks for the size needed; a target too small
    // fails with kErrorInsufficientBuffer.
    int WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                            int targetSize) override;

    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t code) override;
    std::string FormatMessageA(std::uint32_t code) override;

  private:
    std::uint32_t Fail(std::uint32_t code);

    const DriveMap& drives_;
    LastError& lastError_;
    MachineFacts facts_;
};

}  // namespace hosted
