// Each platform call of a clean run made to fail in turn.
#include <gtest/gtest.h>

#include "doubles/fake_machine.h"
#include "store/module_store.h"
#include "test_installer.h"

namespace {

using namespace storetest;
using store::kOrcaTag;

constexpr char kTarget[] = "E:\\Stash.exe";

// Runs the scenario once cleanly to count its calls, then once more for each
// call with that call failing, handing the scenario its machine.
template <typename Scenario>
void FailEachCallInTurn(Scenario scenario) {
    int calls = 0;
    for (int nth = 0; nth == 0 || nth <= calls; ++nth) {
        doubles::FakeMachine machine;
        machine.files.AddDrive('E');
        const int before = machine.faults.Total();
        if (nth > 0) {
            machine.faults.FailNthOverall(before + nth, win::kErrorGenFailure);
        }
        scenario(machine, nth == 0);
        if (nth == 0) {
            calls = machine.faults.Total() - before;
        }
        EXPECT_EQ(machine.files.OpenHandleCount(), 0) << machine.faults.Injected();
    }
    EXPECT_GT(calls, 0);
}

// The walk fails, or finds what it finds cleanly when only a close failed or
// the family could not be told (the file is then measured by reading it).
TEST(StoreFaults, EveryFailingCallOfAWalkFailsIt) {
    const TestInstaller installer =
        Build(Image(), {Module(kOrcaTag, "Stash.exe", Pattern(3000)), Module(kOrcaTag, "b", "")});
    const auto first = static_cast<std::int32_t>(installer.placements[0].payloadOffset);
    for (const std::uint32_t family : {win::kVerPlatformWin32Nt, win::kVerPlatformWin32Windows}) {
        FailEachCallInTurn([&](doubles::FakeMachine& machine, bool clean) {
            machine.system.platformId = family;
            machine.files.AddFile(kInstallerPath, installer.bytes);
            store::ModuleStore modules{machine.os, kInstallerPath};
            const std::int32_t result = modules.FindModule("Stash", nullptr, false, nullptr, 0);
            const std::string injected = machine.faults.Injected();
            if (clean || injected.starts_with("Close") || injected.starts_with("GetVersion")) {
                EXPECT_EQ(result, first) << injected;
            } else {
                EXPECT_EQ(result, -1) << family << ": " << injected;
            }
        });
    }
}

// The result says whether the file is complete, the wait cursor is taken
// away, and only a complete file whose attributes could not be set is left
// behind after a failure.
TEST(StoreFaults, EveryFailingCallOfAnExtractionIsReportedAndCleanedUp) {
    const std::string payload = Pattern(2500);
    const TestInstaller installer = Build(Image(), {Module(kOrcaTag, "Stash.exe", payload)});
    FailEachCallInTurn([&](doubles::FakeMachine& machine, bool clean) {
        machine.files.AddFile(kInstallerPath, installer.bytes);
        store::ModuleStore modules{machine.os, kInstallerPath};
        const int result = modules.ExtractModule(kTarget, 64, 2500, win::kFileAttributeHidden);
        const std::string injected = machine.faults.Injected();
        EXPECT_EQ(machine.ui.waitCursorDepth, 0) << injected;
        const bool attributesFailed = injected.find("FileAttributes") != std::string::npos;
        if (clean) {
            EXPECT_EQ(result, 1);
        }
        if (result == 1 || attributesFailed) {
            EXPECT_EQ(machine.files.Contents(kTarget), payload) << injected;
            EXPECT_NE(result == 1, attributesFailed) << injected;
        } else {
            EXPECT_FALSE(machine.files.Exists(kTarget)) << injected;
        }
    });
}

}  // namespace
