// Extraction throughput of one 256 MiB module against the plain copies that
// bound it, and the walk over a store of 10,000 modules, on the hosted
// machine in a folder under /tmp that is removed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "drive_machine.h"
#include "store/module_store.h"
#include "store/module_tags.h"
#include "store_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kBigPayload = 256ull << 20;
constexpr int kWalkedModules = 10000;
constexpr char kTarget[] = "E:\\Big.dat";

// A hosted machine with drive E: in a fresh folder, and the two installers.
class Bench {
  public:
    Bench() {
        std::string pattern = (fs::temp_directory_path() / "stashwell-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder like " + pattern);
        }
        top_ = pattern;
        fs::create_directory(top_ / "drive");
        machine_ = std::make_unique<pack::DriveMachine>('E', top_ / "drive");
        WriteInstaller(BigInstaller(), {kBigPayload});
        WriteInstaller(WalkInstaller(), std::vector<std::uint64_t>(kWalkedModules, 16));
        machine_->MapInstaller(BigInstaller());
        machine_->MapInstaller(WalkInstaller());
    }
    ~Bench() { fs::remove_all(top_); }

    fs::path BigInstaller() const { return top_ / "Big.exe"; }
    fs::path WalkInstaller() const { return top_ / "Walk.exe"; }
    fs::path HostTarget() const { return top_ / "drive" / "Big.dat"; }
    std::int32_t BigPayloadOffset() const { return 4; }

    platform::Platform& Os() { return machine_->Os(); }
    hosted::HostedSystem& System() { return machine_->System(); }

  private:
    // A stub of four zero bytes and modules of the given sizes, in patterned
    // bytes.
    static void WriteInstaller(const fs::path& path, const std::vector<std::uint64_t>& sizes) {
        std::ofstream out(path, std::ios::binary);
        std::istringstream stub(std::string(4, '\0'));
        pack::StoreWriter writer(out, stub);
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            PatternStream payload;
            writer.Append(payload, sizes[i],
                          {store::kOrcaTag, "Module" + std::to_string(i) + ".dat", "", 0x80});
        }
    }

    // An endless repeating pattern, so no payload is held in memory whole.
    class PatternStream : public std::istream {
      public:
        PatternStream() : std::istream(&buffer_) {}

      private:
        struct Buffer : std::streambuf {
            char bytes[1 << 16];
            Buffer() {
                for (std::size_t i = 0; i < sizeof bytes; ++i) {
                    bytes[i] = static_cast<char>(i * 31 + 7);
                }
            }
            int_type underflow() override {
                setg(bytes, bytes, bytes + sizeof bytes);
                return traits_type::to_int_type(bytes[0]);
            }
        } buffer_;
    };

    fs::path top_;
    std::unique_ptr<pack::DriveMachine> machine_;
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

// Copies the big payload to the target through the hosted file system in
// reads and writes of chunk bytes, without unscrambling.
void PlainCopy(Bench& bench, std::vector<char>& buffer) {
    platform::FileSystem& files = bench.Os().files;
    const int from = files.OpenRead(bench.BigInstaller().string());
    const int to = files.CreateExclusive(kTarget);
    files.Seek(from, bench.BigPayloadOffset());
    for (std::uint64_t left = kBigPayload; left > 0;) {
        const auto count = static_cast<unsigned>(std::min<std::uint64_t>(left, buffer.size()));
        const int n = files.Read(from, buffer.data(), count);
        files.Write(to, buffer.data(), static_cast<unsigned>(n));
        left -= static_cast<std::uint64_t>(n);
    }
    files.Close(to);
    files.Close(from);
}

void RemoveTarget(benchmark::State& state, Bench& bench) {
    state.PauseTiming();
    fs::remove(bench.HostTarget());
    state.ResumeTiming();
}

void BM_ExtractModule(benchmark::State& state) {
    Bench& bench = Shared();
    store::ModuleStore modules(bench.Os(), bench.BigInstaller().string());
    for (auto _ : state) {
        RemoveTarget(state, bench);
        if (modules.ExtractModule(kTarget, bench.BigPayloadOffset(), kBigPayload, 0x80) != 1) {
            state.SkipWithError("extraction failed");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBigPayload));
}

void BM_PlainCopy(benchmark::State& state) {
    Bench& bench = Shared();
    std::vector<char> buffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        RemoveTarget(state, bench);
        PlainCopy(bench, buffer);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBigPayload));
}

// The walk passes every module: no file name begins with the key.
void BM_WalkStore(benchmark::State& state) {
    Bench& bench = Shared();
    bench.System().facts().platformId = static_cast<std::uint32_t>(state.range(0));
    store::ModuleStore modules(bench.Os(), bench.WalkInstaller().string());
    for (auto _ : state) {
        if (modules.FindModule("Absent", nullptr, false, nullptr, 0) != 0) {
            state.SkipWithError("the walk did not pass every module");
        }
    }
    state.SetItemsProcessed(state.iterations() * kWalkedModules);
    bench.System().facts().platformId = win::kVerPlatformWin32Nt;
}

BENCHMARK(BM_ExtractModule)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PlainCopy)
    ->ArgName("buffer")
    ->Arg(1024)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(BM_WalkStore)
    ->ArgName("platformId")
    ->Arg(win::kVerPlatformWin32Nt)
    ->Arg(win::kVerPlatformWin32Windows)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
