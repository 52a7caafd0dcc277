// Runs the platform seam's Windows implementation against the live system
// under Wine, on a machine prepared by tests/wine/probe.sh, and reports each
// check. Usage: seam-probe PLATFORM_ID DRIVE_LETTER
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/win32_platform.h"
#include "probe_checks.h"

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 3 || std::string(argv[2]).size() != 1) {
        std::fprintf(stderr, "usage: seam-probe PLATFORM_ID DRIVE_LETTER\n");
        return 2;
    }
    probe::Expectations expected{static_cast<std::uint32_t>(std::atoi(argv[1])), argv[2][0]};

    platform::win32::Win32Platform windows(probe::kProbeTitle);
    platform::Platform& os = windows.Get();
    probe::Report report;
    probe::CheckSystem(os.system, expected, report);
    probe::CheckRegistry(os.registry, os.system, expected, report);
    probe::CheckFiles(os.files, os.system, expected, report);
    probe::CheckUserInterface(os.ui, report);
    probe::CheckResources(report);
    return report.Close();
}
