// Extraction of many one-byte modules into a drive's root, by
// stashwell-pack extract and by the hosted installer on the NT family, run
// as a user runs them, in a folder under /tmp that is removed at the end.
// The counter per_module is the time per module.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "store/module_tags.h"
#include "store_writer.h"

namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// A folder with the hosted installer carrying count Orca modules of one
// byte each, all for the drive's root, and an empty folder for drive E:.
class Installer {
  public:
    explicit Installer(std::int64_t count) : count_(count) {
        std::string pattern = (fs::temp_directory_path() / "stashwell-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder like " + pattern);
        }
        top_ = pattern;
        std::ofstream out(Path(), std::ios::binary);
        std::ifstream stub(STASHWELL_SETUP_PATH, std::ios::binary);
        pack::StoreWriter writer(out, stub);
        for (std::int64_t i = 0; i < count; ++i) {
            std::istringstream payload("x");
            writer.Append(payload, 1,
                          {store::kOrcaTag, "Module" + std::to_string(i) + ".dat", "", 0x80});
        }
        out.close();
        fs::permissions(Path(), fs::perms::owner_all);
        std::ofstream(top_ / "input") << "i\n";
    }
    ~Installer() { fs::remove_all(top_); }

    fs::path Path() const { return top_ / "Setup"; }
    fs::path Drive() const { return top_ / "drive"; }
    fs::path Input() const { return top_ / "input"; }

    // An empty drive, outside the timing.
    void EmptyDrive(benchmark::State& state) const {
        state.PauseTiming();
        fs::remove_all(Drive());
        fs::create_directory(Drive());
        state.ResumeTiming();
    }

    // Runs the command and checks that every module is on the drive.
    void Run(benchmark::State& state, const std::string& command) const {
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
        }
        state.PauseTiming();
        std::int64_t files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Drive())) {
            ++files;
        }
        if (files != count_) {
            state.SkipWithError("not every module was extracted");
        }
        state.ResumeTiming();
    }

  private:
    std::int64_t count_;
    fs::path top_;
};

void PerModule(benchmark::State& state) {
    state.counters["per_module"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PackExtract(benchmark::State& state) {
    const Installer installer(state.range(0));
    for (auto _ : state) {
        installer.EmptyDrive(state);
        installer.Run(state, Quoted(STASHWELL_PACK_PATH) + " extract " +
                                 Quoted(installer.Path().string()) + " --to " +
                                 Quoted(installer.Drive().string()));
    }
    PerModule(state);
}

void BM_HostedInstallerNt(benchmark::State& state) {
    const Installer installer(state.range(0));
    const std::string machine =
        std::string(STASHWELL_SOURCE_DIR) + "/examples/machines/orca-slim-nt.reg";
    for (auto _ : state) {
        installer.EmptyDrive(state);
        installer.Run(state, Quoted(installer.Path().string()) + " --registry " + Quoted(machine) +
                                 " --drive " + Quoted("E=" + installer.Drive().string()) + " <" +
                                 Quoted(installer.Input().string()));
    }
    PerModule(state);
}

// One run each of 1,000, 10,000 and 100,000 modules, in wall-clock time.
void ModuleCounts(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("modules")
        ->Arg(1000)
        ->Arg(10000)
        ->Arg(100000)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->UseRealTime();
}
BENCHMARK(BM_PackExtract)->Apply(ModuleCounts);
BENCHMARK(BM_HostedInstallerNt)->Apply(ModuleCounts);

}  // namespace

BENCHMARK_MAIN();
