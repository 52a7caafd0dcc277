// The seam probe's groups of checks. Each runs the real Windows calls
// through the seam (or reads the program's own resources) and reports.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "probe_report.h"

namespace probe {

// What the machine prepared by tests/wine/probe.sh holds.
struct Expectations {
    std::uint32_t platformId;  // 1 under the 95 family's version, 2 under NT's
    char driveLetter;          // the mapped removable drive
};

void CheckSystem(platform::System& system, const Expectations& expected, Report& report);
void CheckRegistry(platform::Registry& registry, platform::System& system,
                   const Expectations& expected, Report& report);
void CheckFiles(platform::FileSystem& files, platform::System& system, const Expectations& expected,
                Report& report);
// Another opener's sharing against the seam's two opens of a file of the
// folder (payload.bin, which CheckFiles writes).
void CheckSharing(platform::FileSystem& files, platform::System& system, const std::string& folder,
                  Report& report);
void CheckUserInterface(platform::UserInterface& ui, Report& report);
void CheckResources(Report& report);

inline constexpr char kProbeTitle[] = "Seam Probe";

}  // namespace probe
