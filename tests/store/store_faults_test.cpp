// Each platform call of a walk, an extraction and the creation of folders
// made to fail in turn.
#include <gtest/gtest.h>

#include "store_bench.h"
#include "testbed/sweep.h"

namespace {

using namespace testbed;
using namespace storetest;

// fault: what the run's failing call was, once the run has made it.
void Sweep(const std::string& scenario, bool nt,
           void (*run)(StoreBench&, const std::string& fault)) {
    SweepFailurePoints(scenario, [&](int nth) {
        StoreBench bench(kOne.bytes, nt);
        bench.machine.AddFolder("E:\\Help");
        ArmNthCall(bench.machine, nth);
        run(bench, bench.machine.faults.Injected());
        ExpectNothingLeftOpen(bench.machine);
        return FaultMet(bench.machine);
    });
}

// A walk fails unless only a close failed or the family could not be told
// (the file is then measured by reading it).
void Walk(StoreBench& b, const std::string& fault) {
    const std::int32_t result = b.store.FindModule("Stash", nullptr, false, nullptr, 0);
    EXPECT_EQ(result, fault.empty() || fault.starts_with("Close") || fault.starts_with("GetVersion")
                          ? kAt
                          : -1)
        << fault;
}

// A failed close of the installer does no harm, one of the target loses the
// file; only a complete file whose attributes could not be given stays.
void Extract(StoreBench& b, const std::string& fault) {
    const int result = b.store.ExtractModule(kTarget, kAt, 2500, 0x2);
    const bool done = fault.empty() || fault == "Close #2";
    EXPECT_EQ(result, done) << fault;
    EXPECT_EQ(b.machine.Contents(kTarget),
              done || fault.find("FileAttributes") != std::string::npos ? kPayload : "")
        << fault;
    if (fault.empty()) {  // whole chunks are asked for, each written at its true length
        EXPECT_EQ(std::tuple(b.machine.files.reads, b.machine.files.writes),
                  std::tuple(std::vector<unsigned>{1024, 1024, 1024},
                             std::vector<unsigned>{1024, 1024, 452}));
    }
}

// Existing folders and empty names are passed over; only a failed check of a
// missing folder does no harm; the folders made before a failing call stay.
void CreateFolders(StoreBench& b, const std::string& fault) {
    const std::vector<std::string> all{"E:\\Help\\", "E:\\Help\\A\\", "E:\\Help\\A\\B\\"};
    const int result = b.store.CreateDirectoryPath("E:\\Help\\\\A\\B\\");
    const std::vector<std::string> made = b.machine.Tree('E');
    const bool harmless =
        fault.empty() || (fault.starts_with("PathIsDirectory") && fault != "PathIsDirectory #1");
    EXPECT_EQ(result, harmless) << fault;
    EXPECT_EQ(made, std::vector(all.begin(), all.begin() + (result ? 3 : made.size()))) << fault;
}

TEST(StoreFaults, EveryFailingCallIsReportedAndCleanedUp) {
    Sweep("walk on NT", true, Walk);
    Sweep("walk on the 95 family", false, Walk);
    Sweep("extraction", true, Extract);
    Sweep("creation of folders", true, CreateFolders);
}

}  // namespace
