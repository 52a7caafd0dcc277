// Runs the platform contract and the checks of what only Windows has against
// the live system, on the machine that tests/wine/probe.sh prepares, and
// prints each failed check and the counts. Usage: seam-probe PLATFORM_ID DRIVE
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "platform/win32/win32_platform.h"
#include "windows_checks.h"

namespace {

class PrintedChecks : public contract::Checks {
  public:
    void Report(bool passed, const char* file, int line, const std::string& what) override {
        ++(passed ? passed_ : failed_);
        if (!passed) {
            std::printf("FAIL %s:%d: %s\n", file, line, what.c_str());
        }
    }
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    // Folder searches list names in the order that Wine reads the host folder.
    const contract::Fixture fixture{argc == 3 ? argv[2][0] : 'E',
                                    static_cast<std::uint32_t>(std::atoi(argc == 3 ? argv[1] : "")),
                                    "C:\\probe", false};
    platform::win32::Win32Platform windows(probe::kTitle);
    platform::Platform& os = windows.Get();
    contract::Seam seam{os.files, os.registry, os.system};
    PrintedChecks checks;
    contract::CheckSystem(checks, seam, fixture);
    contract::CheckRegistry(checks, seam, fixture);
    contract::CheckFiles(checks, seam, fixture);
    contract::CheckFolderSearch(checks, seam, fixture);
    probe::CheckWindowsOnly(checks, seam, os.ui, fixture.Folder());
    std::printf("%d passed, %d failed\n", checks.passed_, checks.failed_);
    return checks.failed_ == 0 ? 0 : 1;
}
