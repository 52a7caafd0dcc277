// stashwell-pack build: the entries and command lines it refuses, among them
// outputs that would overwrite an input, and what it accepts at the limits.
#include "pack_run.h"

namespace {

using namespace packtest;
using PackBuild = PackTest;

// The names and contents of the files below a folder.
std::string State(const fs::path& folder) {
    std::string files;
    for (const std::string& file : FilesBelow(folder)) {
        files += file + '\n' + ReadFile(folder / file);
    }
    return files;
}

// A refused entry leaves the installer built before as it was: the installer is
// written beside the output, and renamed over it when complete.
TEST_F(PackBuild, RefusesABadEntryNamingItAndKeepsTheOutputAndAcceptsFieldsAtTheirLimits) {
    for (const auto& [name, size] : {std::pair{"Huge.dat", 4ull << 30}, {"Big.dat", 3ull << 30}}) {
        WriteFile(dir / "orca" / name, "");  // sparse: refused before a byte is read
        fs::resize_file(dir / "orca" / name, size);
    }
    ASSERT_EQ(Build(json::array({Module()}), out).status, 0);
    const std::string before = State(out.parent_path());
    for (const json& row : Filled(SourceJson("tests/pack/cases/refused_entries.json"))) {
        SCOPED_TRACE(row.dump());
        const Outcome run = Build({Module(), Module(row["fields"])}, out);
        ExpectRefusal(run, "manifest entry 1 (");
        ExpectRefusal(run, row["says"]);
        EXPECT_EQ(State(out.parent_path()), before);
    }
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
    const std::string before = State(dir);
    for (const json& row : Filled(SourceJson("tests/pack/cases/refused_commands.json"))) {
        SCOPED_TRACE(row.dump());
        ExpectRefusal(Pack(row["args"]), row["says"]);
        EXPECT_EQ(State(dir), before);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "manifest-link"));
}

TEST_F(PackBuild, VersionIsTheProjects) {
    const std::string shown = Pack({"--version"}).out;
    ASSERT_TRUE(shown.starts_with("stashwell-pack ")) << shown;
    EXPECT_NE(ReadFile(STASHWELL_SOURCE_DIR "/CMakeLists.txt")
                  .find("project(stashwell VERSION " + shown.substr(15, shown.size() - 16) + " "),
              std::string::npos);
}

}  // namespace
