// What a release engineer checks: the content digests that list shows, the
// digest file that build writes, verify against the manifest, and --version.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>

#include "pack_run.h"

namespace {

using namespace packtest;
using nlohmann::json;

// The output of a shell command: sha256sum stands as the independent check.
std::string Shell(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        out += buffer.data();
    }
    const int code = pclose(pipe);
    if (status != nullptr) {
        *status = code;
    }
    return out;
}

std::string Sha256Sum(const fs::path& file) {
    return Shell("sha256sum '" + file.string() + "'").substr(0, 64);
}

class ReleaseCheck : public PackTest {
  protected:
    fs::path installer = BuildSample();

    json SampleManifest() const {
        std::ifstream in(SamplePayload() / "manifest.json");
        json manifest = json::parse(in);
        for (json& module : manifest["modules"]) {
            module["source"] = (SamplePayload() / module["source"].get<std::string>()).string();
        }
        return manifest;
    }
    Outcome VerifyWith(const json& manifest) {
        const fs::path path = Dir() / "release.json";
        WriteFile(path, manifest.dump());
        return Pack({"verify", installer.string(), "--manifest", path.string()});
    }
};

TEST_F(ReleaseCheck, ListShowsEachModulesDigestAndBuildWritesOneSha256sumChecks) {
    const json manifest = SampleManifest();
    const Outcome run = Pack({"list", "--json", installer.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const json listed = json::parse(run.out);
    ASSERT_EQ(listed.size(), manifest["modules"].size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const json& entry = manifest["modules"][listed.size() - 1 - i];
        EXPECT_EQ(listed[i]["sha256"], Sha256Sum(entry["source"].get<std::string>())) << i;
    }
    const Outcome table = Pack({"list", installer.string()});
    EXPECT_NE(table.out.find(listed[0]["sha256"].get<std::string>()), std::string::npos);

    EXPECT_EQ(ReadFile(installer.string() + ".sha256"),
              Sha256Sum(installer) + "  StashwellSetup.exe\n");
    int status = -1;
    Shell("cd '" + Dir().string() + "' && sha256sum --quiet -c StashwellSetup.exe.sha256", &status);
    EXPECT_EQ(status, 0);
}

TEST_F(ReleaseCheck, VerifyNamesEachDifferenceFromTheManifest) {
    const std::string hlp =
        "manifest entry 2 (" + (SamplePayload() / "orca/Stash.hlp").string() + ")";
    // The first two entries are swapped in the "reordered" row.
    const std::string exe =
        "manifest entry 1 (" + (SamplePayload() / "orca/Stash.exe").string() + ")";
    const std::string dll =
        "manifest entry 0 (" + (SamplePayload() / "orca/StashLib.dll").string() + ")";
    struct Row {
        const char* what;
        std::function<void(json&)> change;
        std::vector<std::string> lines;  // what verify prints, in order
    };
    const std::vector<Row> rows = {
        {"unchanged", [](json&) {}, {"installer holds exactly the manifest's 12 modules"}},
        {"missing",
         [](json& m) {
             json extra = m["modules"][0];
             extra["fileName"] = "Extra.exe";
             m["modules"].push_back(extra);
         },
         {"manifest entry 12 (" + (SamplePayload() / "orca/Stash.exe").string() +
          "): missing from the installer"}},
        {"extra",
         [](json& m) { m["modules"].erase(11); },
         {"installer module 12 (\"NRVK_OEM_INSTALLER_PREDEFFILE_IDX_K\" "
          "\"BackupStorage\\Backup.dat\"): extra, not in the manifest"}},
        {"reordered",
         [](json& m) { std::swap(m["modules"][0], m["modules"][1]); },
         {dll + ": reordered: appended as module 2, where the manifest's order puts module 1",
          exe + ": reordered: appended as module 1, where the manifest's order puts module 2"}},
        {"changed content",
         [](json& m) { m["modules"][2]["source"] = m["modules"][3]["source"]; },
         {"manifest entry 2 (" + (SamplePayload() / "orca/Stash.cnt").string() +
          "): changed content: sha256 " + Sha256Sum(SamplePayload() / "orca/Stash.hlp") +
          " in the installer, " + Sha256Sum(SamplePayload() / "orca/Stash.cnt") + " in " +
          (SamplePayload() / "orca/Stash.cnt").string()}},
        {"changed fields",
         [](json& m) {
             m["modules"][2]["attributes"] = "0x2";
             m["modules"][2]["fileName"] = "Stash.HLP";
         },
         {hlp + ": changed file name: \"Stash.hlp\" in the installer, \"Stash.HLP\" in the "
                "manifest",
          hlp + ": changed attributes: 0x80 in the installer, 0x2 in the manifest"}},
    };
    for (const Row& row : rows) {
        json manifest = SampleManifest();
        row.change(manifest);
        const Outcome run = VerifyWith(manifest);
        std::string expected;
        for (const std::string& line : row.lines) {
            expected += line + "\n";
        }
        EXPECT_EQ(run.out, expected) << row.what;
        EXPECT_EQ(run.status, &row == &rows[0] ? 0 : 1) << row.what << run.err;
    }
}

TEST_F(ReleaseCheck, BadInputIsRefusedWithOneLineAndWritesNothing) {
    const fs::path manifest = Dir() / "release.json";
    const fs::path notAnInstaller = Dir() / "notes.txt";
    WriteFile(manifest, "{\"modules\": [");
    WriteFile(notAnInstaller, "just some text, no store here\n");
    const fs::path collision = Dir() / "out.exe.sha256";
    WriteFile(collision, SampleManifest().dump());
    struct Row {
        std::vector<std::string> arguments;
        std::string named;  // the error line names it
    };
    const std::vector<Row> rows = {
        {{"verify", installer.string(), "--manifest", (Dir() / "none.json").string()}, "none.json"},
        {{"verify", installer.string(), "--manifest", manifest.string()}, "release.json"},
        {{"verify", notAnInstaller.string(), "--manifest", manifest.string()}, "notes.txt"},
        {{"build", "--stub", WriteStub().string(), "--manifest", collision.string(), "--out",
          (Dir() / "out.exe").string()},
         "would overwrite"},
    };
    for (const Row& row : rows) {
        const Outcome run = Pack(row.arguments);
        EXPECT_NE(run.status, 0) << row.named;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(row.named), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(Dir() / "out.exe"));
    EXPECT_EQ(ReadFile(collision), SampleManifest().dump());
}

TEST_F(ReleaseCheck, VersionIsTheProjects) {
    const std::string lists = ReadFile(fs::path(STASHWELL_SOURCE_DIR) / "CMakeLists.txt");
    std::smatch version;
    ASSERT_TRUE(
        std::regex_search(lists, version, std::regex(R"(project\(stashwell VERSION (\S+))")));
    const Outcome run = Pack({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "stashwell-pack " + version[1].str() + "\n");
}

}  // namespace
