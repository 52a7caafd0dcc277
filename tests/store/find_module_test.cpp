#include <gtest/gtest.h>

#include <algorithm>

#include "store_bench.h"

namespace {

using namespace testbed;
const std::string kO = store::kOrcaTag, kK = store::kKestrelTag;
const std::vector<Module> kModules{{store::kStorePrefix, "plain.txt", "", "1"},
                                   OrcaModule("Stash.exe", "", Pattern(3000)),
                                   {kO, "stash.ini", "Help", "3", 0x22},
                                   {kK + "_SLIM", "MyStash.hlp", "", "4"},
                                   OrcaModule(kK + ".txt", "", "5"),
                                   KestrelModule("Stash.hlp", "", "6")};
const Installer kStore = BuildInstaller(kModules);
std::uint32_t End(int n) {  // of the nth module's trailer; End(0): of the image
    return n == 0 ? 64 : kStore.placements[n - 1].trailerOffset + 660;
}
std::string Patched(std::uint32_t at, std::uint32_t value, std::string bytes = kStore.bytes) {
    PutDword(bytes, at, value);
    return bytes;
}
const std::string kLongTrailer = Patched(End(6) + 36, 700, kStore.bytes + std::string(40, 0));

// FindModule from start, then from each offset found, to the 0 (no module
// left) or -1 (failure) that ends the walk; n > 0: the nth module appended.
struct Walk {
    std::string bytes;
    std::vector<int> modules;
    std::string key = kO;
    bool byTag = true;
    std::uint32_t start = 0;
};
const Walk kWalks[] = {
    // A tag matches over the predefined prefix and the variant character; a
    // file name that begins with the key matches too; case-sensitively.
    {kStore.bytes, {5, 3, 2, 0}},
    {kStore.bytes, {5, 1, 0}, store::kStorePrefix},
    {kStore.bytes, {6, 5, 4, 0}, kK},
    {kStore.bytes, {6, 4, 0}, kK + "_PRISM"},
    {kStore.bytes, {5, 0}, kK, false},
    {kStore.bytes, {6, 2, 0}, "Stash", false},
    {kStore.bytes, {6, 5, 4, 3, 2, 1, 0}, "", false},
    // Where a walk starts, and damaged stores.
    {kStore.bytes, {3, 2, 0}, kO, true, End(3)},
    {kStore.bytes, {-1}, kO, true, End(6) + 1},
    {kStore.bytes, {-1}, kO, true, 3},
    {kStore.bytes.substr(0, End(0)), {0}},
    {kStore.bytes.substr(0, End(3)), {3, 2, 0}},
    {kStore.bytes.substr(0, End(6) - 10), {0}},
    {kLongTrailer, {5, 3, 2, 0}},
    {Patched(End(6) - 4, 659), {0}},
    {Patched(End(2) - 4, 659), {5, 3, 0}},
    {Patched(End(6) - 4, End(6)), {0}},
    {Patched(End(6) - 660, End(5)), {-1}},
    {Patched(End(6) - 660, ~0u), {-1}},
    {Patched(End(3) - 660, End(2) + 1), {5, -1}},
    {Patched(End(3) + 18, 0x4C4C4558), {5, -1}},  // tag "NRVK_OEM_INSTALLEX"
};

int Number(std::int32_t offset) {  // of the module whose payload begins at offset
    const auto& p = kStore.placements;
    const auto at =
        std::ranges::find(p, std::uint32_t(offset), &pack::ModulePlacement::payloadOffset);
    return 1 + static_cast<int>(at - p.begin());
}

// Only a module found fills the outputs.
TEST(FindModule, WalksTheSameStoreOnBothFamilies) {
    for (const bool nt : {true, false}) {
        for (const Walk& w : kWalks) {
            storetest::StoreBench bench(w.bytes, nt);
            std::vector<int> found;
            for (auto start = w.start; found.empty() || (found.back() > 0 && found.size() < 9);) {
                std::int32_t at = -7;
                store::ModuleHeader h{};
                h.fileName[0] = 'x';
                const std::int32_t r = bench.store.FindModule(w.key, &at, w.byTag, &h, start);
                found.push_back(r > 0 ? Number(r) : r);
                const std::string name = r > 0 ? kModules.at(found.back() - 1).fileName : "x";
                EXPECT_EQ(std::tuple(at, std::string(h.fileName)),
                          std::tuple(r > 0 ? r : -7, name));
                start = static_cast<std::uint32_t>(r);
            }
            EXPECT_EQ(found, w.modules) << "NT " << nt << ", row " << &w - kWalks;
            EXPECT_EQ(bench.machine.files.OpenHandleCount(), 0);
        }
    }
}

// NT asks for the file's length, the 95 family reads the file through; then
// each module passed costs its trailer length and record, whatever the length.
TEST(FindModule, ReadsTheLengthAndRecordOfEachTrailer) {
    for (const bool nt : {true, false}) {
        storetest::StoreBench bench(kLongTrailer, nt);
        EXPECT_EQ(Number(bench.store.FindModule("stash", nullptr, false, nullptr, 0)), 3);
        std::vector<unsigned> reads(nt ? 0 : (kLongTrailer.size() + 1023) / 1024 + 1, 1024);
        reads.insert(reads.end(), {4, 660, 4, 660, 4, 660, 4, 660});
        EXPECT_EQ(bench.machine.files.reads, reads);
        EXPECT_EQ(bench.machine.faults.Count(Call::GetFileLength), nt ? 1 : 0);
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
    storetest::StoreBench bench(kStore.bytes);
    TestMachine& m = bench.machine;
    HugeFiles files{m.files, m.system, m.faults};
    platform::Platform os{files, m.registry, m.system, m.ui};
    EXPECT_EQ(store::ModuleStore(os, kInstallerPath).FindModule("", nullptr, false, nullptr, 0),
              -1);
    EXPECT_EQ(std::tuple(files.reads.size(), files.OpenHandleCount()), std::tuple(0u, 0));
}

}  // namespace
