// The end-to-end driver: runs one scenario against the installer under
// Wine and writes the transcript that the test compares.
// Usage: wizard-driver SCENARIO INSTALLER TRANSCRIPT SCREENSHOT_PREFIX MACHINES
// (Windows paths). Exit status 0 when every step could be taken.
#include <cstdio>
#include <string>
#include <vector>

#include "scenario.h"
#include "scenario_run.h"
#include "transcript.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: wizard-driver SCENARIO INSTALLER TRANSCRIPT SCREENSHOT_PREFIX "
                     "MACHINES\n");
        return 2;
    }
    std::vector<driver::Step> steps;
    std::string error;
    if (!driver::ReadScenario(argv[1], steps, error)) {
        std::fprintf(stderr, "wizard-driver: %s\n", error.c_str());
        return 2;
    }
    driver::Transcript transcript;
    if (!transcript.Open(argv[3])) {
        std::fprintf(stderr, "wizard-driver: cannot write %s\n", argv[3]);
        return 2;
    }
    const driver::RunSettings settings{argv[2], argv[4], argv[5]};
    driver::ScenarioRun run(settings, transcript);
    bool ok = true;
    for (const driver::Step& step : steps) {
        if (!run.Run(step)) {
            ok = false;
            break;
        }
    }
    run.Finish();
    return ok ? 0 : 1;
}
