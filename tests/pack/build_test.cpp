// stashwell-pack build: the entries and command lines it refuses, among them
// outputs that would overwrite an input, and what it accepts at the limits.
#include "pack_run.h"

namespace {

using namespace packtest;
using PackBuild = PackTest;

// Sparse files: refused before a byte is read.
void WriteSparse(const fs::path& path, std::uintmax_t size) {
    WriteFile(path, "");
    fs::resize_file(path, size);
}

TEST_F(PackBuild, RefusesABadEntryNamingItAndLeavesNothing) {
    WriteSparse(dir / "orca" / "Huge.dat", 4ull << 30);
    WriteSparse(dir / "orca" / "Big.dat", 3ull << 30);
    for (const json& row : SourceJson("tests/pack/cases/refused_entries.json")) {
        SCOPED_TRACE(row.dump());
        const Outcome run = Build({Module(), Module(row["fields"])}, out);
        ExpectRefusal(run, "manifest entry 1 (");
        ExpectRefusal(run, Filled(row["says"]));
        EXPECT_EQ(FilesBelow(out.parent_path()), Strings{});
    }
}

TEST_F(PackBuild, AcceptsNamesLikeDevicesAndFieldsAtTheirLimits) {
    for (const json& fields : SourceJson("tests/pack/cases/accepted_entries.json")) {
        SCOPED_TRACE(fields.dump());
        EXPECT_EQ(Build(json::array({Module(fields)}), out).status, 0);
        EXPECT_EQ(Pack({"verify", out}).status, 0);
    }
}

TEST_F(PackBuild, RefusesWhatItCannotReadOrWouldOverwriteAndChangesNothing) {
    ASSERT_EQ(Build(json::array({Module()}), out).status, 0);
    WriteFile(dir / "broken.json", "{\"modules\": [");
    WriteFile(dir / "flat.json", "{\"modules\": 5}");
    fs::create_hard_link(dir / "orca" / "Stash.hlp", dir / "source-link");
    fs::create_symlink(manifest, dir / "manifest-link");
    fs::create_hard_link(stub, dir / "stub-link");
    fs::create_hard_link(manifest, dir / "twin.sha256");
    fs::create_symlink(stub, dir / "stub-twin.sha256");
    const auto state = [this] {  // the names and contents of the files below the folder
        std::string files;
        for (const std::string& file : FilesBelow(dir)) {
            files += file + '\n' + ReadFile(dir / file);
        }
        return files;
    };
    const std::string before = state();
    for (const json& row : SourceJson("tests/pack/cases/refused_commands.json")) {
        SCOPED_TRACE(row.dump());
        Strings arguments;
        for (const json& argument : row["args"]) {
            arguments.push_back(Filled(argument));
        }
        ExpectRefusal(Pack(arguments), Filled(row["says"]));
        EXPECT_EQ(state(), before);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "manifest-link"));
    // The installer is written beside the output, and renamed over it when complete.
    WriteSparse(dir / "orca" / "Big.dat", 3ull << 30);
    const std::string installer = ReadFile(out) + ReadFile(out.string() + ".sha256");
    ExpectRefusal(Build({Module(), Module({{"source", "orca/Big.dat"}})}, out), "below 2 GiB");
    EXPECT_EQ(ReadFile(out) + ReadFile(out.string() + ".sha256"), installer);
    EXPECT_EQ(FilesBelow(out.parent_path()),
              (Strings{"StashwellSetup.exe", "StashwellSetup.exe.sha256"}));
}

TEST_F(PackBuild, VersionIsTheProjects) {
    const std::string shown = Pack({"--version"}).out;
    ASSERT_TRUE(shown.starts_with("stashwell-pack ")) << shown;
    EXPECT_NE(ReadFile(STASHWELL_SOURCE_DIR "/CMakeLists.txt")
                  .find("project(stashwell VERSION " + shown.substr(15, shown.size() - 16) + " "),
              std::string::npos);
}

}  // namespace
