#include <gtest/gtest.h>

#include <algorithm>

#include "store_run.h"

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
void Expect(bool holds, const std::string& property) {
    EXPECT_TRUE(holds) << property;
}

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
    for (std::size_t row = 0; row < std::size(kWalks) * 2; ++row) {
        const auto& [bytes, key, byTag, start, modules] = kWalks[row / 2];
        storetest::StoreRun run(bytes, row % 2, Expect);
        std::vector<int> found;
        for (const storetest::Found& module : run.Walk(key, byTag, start)) {
            const auto& p = kStore.placements;
            found.push_back(
                1 + int(std::ranges::find(p, module.first, &pack::ModulePlacement::payloadOffset) -
                        p.begin()));
        }
        found.push_back(run.results.back());
        EXPECT_EQ(found, modules) << "row " << row / 2 << (row % 2 ? " on NT" : " on 95");
        if (row % 2) {
            storetest::RunOnBothFamilies(bytes, Expect);
        }
    }
}

// NT asks for the file's length, the 95 family reads the file through; then
// each module passed costs its trailer length and record, whatever the length.
TEST(FindModule, ReadsTheLengthAndRecordOfEachTrailer) {
    for (const bool nt : {true, false}) {
        storetest::StoreBench bench(kLongTrailer, nt);
        EXPECT_EQ(bench.store.FindModule("stash", nullptr, false, nullptr, 0), int(End(2)));
        std::vector<unsigned> reads(nt ? 0 : (kLongTrailer.size() + 1023) / 1024 + 1, 1024);
        reads.insert(reads.end(), {4, 660, 4, 660, 4, 660, 4, 660});
        EXPECT_EQ(
            std::tuple(bench.machine.files.reads, bench.machine.faults.Count(Call::GetFileLength)),
            std::tuple(reads, nt ? 1 : 0));
    }
}

// Offsets are signed 32-bit: a longer file is refused before it is read.
struct HugeFiles : FaultyFiles {
    using FaultyFiles::FaultyFiles;
    bool GetFileLength(const std::string& path, std::uint64_t& length) override {
        return FaultyFiles::GetFileLength(path, length) && (length += 0x80000000u);
    }
};

TEST(FindModule, FileBeyondSignedOffsetsFails) {
    storetest::StoreBench b(S);
    HugeFiles files{b.machine.files, b.machine.system, b.machine.faults};
    platform::Platform os{files, b.machine.registry, b.machine.system, b.machine.ui};
    EXPECT_EQ(store::ModuleStore(os, kInstallerPath).FindModule("", nullptr, false, nullptr, 0),
              -1);
    EXPECT_EQ(std::tuple(files.reads.size(), files.OpenHandleCount()), std::tuple(0u, 0));
}

}  // namespace
