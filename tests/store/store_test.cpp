// The store: walks over a store of six modules and damaged copies of it, extractions,
// the creation of folders, and each of their platform calls failing in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "store_run.h"
#include "testbed/sweep.h"

namespace storetest {
namespace {

using namespace testbed;
const std::string kO = store::kOrcaTag, kK = store::kKestrelTag;
const Installer kStore = BuildInstaller({{store::kStorePrefix, "plain.txt", "", "1"},
                                         OrcaModule("Stash.exe", "", Pattern(3000)),
                                         {kO, "stash.ini", "Help", "3", 0x22},
                                         {kK + std::string(29, 'S'), "MyStash.hlp", "", "4"},
                                         OrcaModule(kK + ".txt", "", "5"),
                                         KestrelModule("Stash.hlp", "", "6")});
const std::string& S = kStore.bytes;
std::uint32_t End(int n) {  // of the nth module; End(0): of the image
    return n == 0 ? 64 : kStore.placements[n - 1].trailerOffset + 660;
}
std::string Patched(std::uint32_t at, std::uint32_t value, std::string bytes = S) {
    PutDword(bytes, at, value);
    return bytes;
}
const std::string kLongTrailer = Patched(End(6) + 36, 700, S + std::string(40, 0));
const Require Expect = [](bool holds, const std::string& property) {
    EXPECT_TRUE(holds) << property;
};

// The bytes; the key, byTag and start of a walk; the modules it finds (n: the
// nth appended) up to the 0 (none left) or -1 (failure) that ends it.
using Walk = std::tuple<std::string, std::string, bool, std::uint32_t, std::vector<int>>;
const Walk kWalks[] = {
    // A tag matches over the predefined prefix and the variant character; a
    // file name that begins with the key matches too; case-sensitively.
    {S, kO, true, 0, {5, 3, 2, 0}},
    {S, store::kStorePrefix, true, 0, {5, 1, 0}},
    {S, kK + "_PRISM", true, 0, {6, 4, 0}},
    {S, kK, false, 0, {5, 0}},
    {S, "Stash", false, 0, {6, 2, 0}},
    // Where a walk starts, and damaged stores.
    {S, kO, true, End(3), {3, 2, 0}},
    {S, kO, true, End(6) + 1, {-1}},
    {S, kO, true, 3, {-1}},
    {S.substr(0, End(0)), kO, true, 0, {0}},
    {kLongTrailer, kO, true, 0, {5, 3, 2, 0}},
    {Patched(End(6) - 4, 659), kO, true, 0, {0}},
    {Patched(End(2) - 4, 659), kO, true, 0, {5, 3, 0}},
    {Patched(End(6) - 4, End(6)), kO, true, 0, {0}},
    {Patched(End(6) - 660, End(5)), kO, true, 0, {-1}},
    {Patched(End(3) - 660, End(2) + 1), kO, true, 0, {5, -1}},
    {Patched(End(4) - 660 + 18, 0x4C4C4558), kO, true, 0, {5, -1}},  // tag "NRVK_OEM_INSTALLEX"
};

TEST(FindModule, WalksTheSameStoreOnBothFamilies) {
    for (const Walk& row : kWalks) {
        const auto& [bytes, key, byTag, start, modules] = row;
        std::vector<std::int32_t> wanted;  // what each step of the walk returns
        for (const int n : modules) {
            wanted.push_back(
                n > 0 ? static_cast<std::int32_t>(kStore.placements[n - 1].payloadOffset) : n);
        }
        for (const bool nt : {true, false}) {
            StoreRun run(bytes, nt, Expect);
            const auto from = static_cast<std::ptrdiff_t>(run.results.size());
            run.Walk(key, byTag, start);
            EXPECT_EQ(std::vector(run.results.begin() + from, run.results.end()), wanted)
                << "row " << &row - kWalks << (nt ? " on NT" : " on 95");
        }
        RunOnBothFamilies(bytes, Expect);
    }
}

// NT asks for the file's length, the 95 family reads it through; each module passed costs its
// trailer's length and record, whatever the length. Past 2 GB a file is refused unread.
struct HugeFiles : FaultyFiles {
    using FaultyFiles::FaultyFiles;
    bool GetFileLength(const std::string& path, std::uint64_t& length) override {
        return FaultyFiles::GetFileLength(path, length) && (length += 0x80000000u);
    }
};

TEST(FindModule, MeasuresTheFileThenReadsEachTrailersLengthAndRecord) {
    for (const bool nt : {true, false}) {
        StoreMachine b(kLongTrailer, nt);
        EXPECT_EQ(b.store.FindModule("stash", nullptr, false, nullptr, 0), int(End(2)));
        std::vector<unsigned> reads(nt ? 0 : (kLongTrailer.size() + 1023) / 1024 + 1, 1024);
        reads.insert(reads.end(), {4, 660, 4, 660, 4, 660, 4, 660});
        EXPECT_EQ(std::tuple(b.machine.files.reads, b.machine.faults.Count(Call::GetFileLength)),
                  std::tuple(reads, nt ? 1 : 0));
    }
    StoreMachine b(S);
    HugeFiles files{b.machine.files, b.machine.system, b.machine.faults};
    platform::Platform os{files, b.machine.registry, b.machine.system, b.machine.ui};
    EXPECT_EQ(store::ModuleStore(os, kInstallerPath).FindModule("", nullptr, false, nullptr, 0),
              -1);
    EXPECT_EQ(std::tuple(files.reads.size(), files.OpenHandleCount()), std::tuple(0u, 0));
}

// The module (hidden, 0x2) goes into a new file (normal, 0x80), whose attributes it adds to
// unless they share a bit. A copy that ends early leaves no file, unless the deletion fails.
struct Extraction {
    void (*arrange)(TestMachine&);
    std::optional<std::string> left;  // the target afterwards, if any
    std::uint32_t attributesLeft = 0x2, attributes = 0x2, size = 2500;
};
const Extraction kExtractions[] = {
    {[](TestMachine&) {}, kPayload},
    {[](TestMachine&) {}, kPayload, 0x80, 0x82},
    {[](TestMachine&) {}, "", 0x2, 0x2, 0},
    {[](TestMachine& m) { m.faults.ShortRead(1, 100), m.faults.ShortRead(4, 1); }, kPayload},
    {[](TestMachine& m) { m.AddFile(kTarget, "old", 0x1); }, "old", 0x1},
    {[](TestMachine& m) { m.faults.ShortRead(3, 0); }, std::nullopt},
    {[](TestMachine& m) { m.faults.ShortWrite(2, 1000); }, std::nullopt},
    {[](TestMachine& m) { m.faults.ShortWrite(1, 10), m.faults.FailNth(Call::DeleteFile, 1, 5); },
     kPayload.substr(0, 10), 0x80},
};

TEST(ExtractModule, CopiesThePayloadIntoANewFileOrLeavesNoPartOfIt) {
    for (const Extraction& e : kExtractions) {
        StoreMachine b;
        e.arrange(b.machine);
        const bool done = e.left && e.left->size() == e.size;
        EXPECT_EQ(b.store.ExtractModule(kTarget, kAt, e.size, e.attributes), done);
        EXPECT_EQ(std::tuple(b.machine.Contents(kTarget), b.machine.Attributes(kTarget),
                             b.machine.ui.shown.size(), b.machine.ui.waitCursorShowings),
                  std::tuple(e.left.value_or(""), e.left ? e.attributesLeft : ~0u,
                             e.left && !done && e.left != "old" ? 1u : 0u, 1))
            << "row " << &e - kExtractions;
        ExpectNothingLeftOpen(b.machine);
    }
}

// Only paths that begin with a drive letter, a colon and a backslash, and no
// folder through a file.
TEST(CreateDirectoryPath, RefusesOtherPaths) {
    StoreMachine b;
    b.machine.AddFile("E:\\F", "");
    for (const char* path : {"E:\\", "E:", "\\\\server\\share\\A", "E:A\\B", "EE\\A", "E:\\F\\B"}) {
        EXPECT_EQ(b.store.CreateDirectoryPath(path), 0) << path;
    }
    EXPECT_EQ(b.machine.Tree('E'), std::vector<std::string>{"E:\\F"});
}

// Each call failing in turn. A walk fails unless a close failed or the family could not
// be told (the file is then read through). A failed close of the target loses the file;
// only a complete file whose attributes could not be given stays. Existing folders and
// empty names are passed over; folders made before a failing call stay.
TEST(StoreFaults, EveryFailingCallIsReportedAndCleanedUp) {
    const auto walk = [](StoreMachine& b, const std::string& fault) {
        const std::int32_t result = b.store.FindModule("Stash", nullptr, false, nullptr, 0);
        const bool harmless =
            fault.empty() || fault.starts_with("Close") || fault.starts_with("GetVersion");
        EXPECT_EQ(result, harmless ? kAt : -1) << fault;
    };
    const auto extract = [](StoreMachine& b, const std::string& fault) {
        const int result = b.store.ExtractModule(kTarget, kAt, 2500, 0x2);
        const bool done = fault.empty() || fault == "Close #2";
        EXPECT_EQ(result, done) << fault;
        EXPECT_EQ(b.machine.Contents(kTarget),
                  done || fault.find("FileAttributes") != std::string::npos ? kPayload : "")
            << fault;
        if (fault.empty()) {  // whole chunks are asked for, each written at its true length
            EXPECT_EQ(b.machine.files.reads, std::vector<unsigned>(3, 1024));
            EXPECT_EQ(b.machine.files.writes, (std::vector<unsigned>{1024, 1024, 452}));
        }
    };
    const auto createFolders = [](StoreMachine& b, const std::string& fault) {
        const std::vector<std::string> all{"E:\\Help\\", "E:\\Help\\A\\", "E:\\Help\\A\\B\\"};
        const int result = b.store.CreateDirectoryPath("E:\\Help\\\\A\\B\\");
        const std::vector<std::string> made = b.machine.Tree('E');
        EXPECT_EQ(result, fault.empty() || (fault.starts_with("PathIsDirectory") &&
                                            fault != "PathIsDirectory #1"))
            << fault;
        EXPECT_EQ(made, std::vector(all.begin(), all.begin() + (result ? 3 : made.size())))
            << fault;
    };
    const auto sweep = [](const char* scenario, bool nt, const auto& run) {
        SweepFailurePoints(scenario, [&](int nth) {
            StoreMachine b(kOne.bytes, nt);
            b.machine.AddFolder("E:\\Help");
            ArmNthCall(b.machine, nth);
            run(b, b.machine.faults.Injected());
            ExpectNothingLeftOpen(b.machine);
            return FaultMet(b.machine);
        });
    };
    sweep("walk on NT", true, walk);
    sweep("walk on the 95 family", false, walk);
    sweep("extraction", true, extract);
    sweep("creation of folders", true, createFolders);
}

}  // namespace
}  // namespace storetest
