#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "pack_run.h"
#include "platform/hosted/dos_attributes.h"
#include "store/module_header.h"

namespace {

using namespace packtest;
using nlohmann::json;

json Manifest() {
    std::ifstream in(PackTest::SamplePayload() / "manifest.json");
    return json::parse(in)["modules"];
}

std::uint32_t AttributesOf(const json& module) {
    return static_cast<std::uint32_t>(std::stoul(module["attributes"].get<std::string>(), 0, 16));
}

using RoundTrip = PackTest;

TEST_F(RoundTrip, ListsTheModulesLastAppendedFirst) {
    const fs::path installer = BuildSample();
    const Outcome run = Pack({"list", "--json", installer.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const json listed = json::parse(run.out);
    const json manifest = Manifest();
    ASSERT_EQ(listed.size(), 12u);

    std::uint32_t end = static_cast<std::uint32_t>(fs::file_size(installer));
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const json& module = listed[i];
        const json& entry = manifest[manifest.size() - 1 - i];
        const std::string variant = entry["variant"];
        EXPECT_EQ(module["tag"], "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_" + variant);
        EXPECT_EQ(module["fileName"], entry["fileName"]);
        EXPECT_EQ(module["extractPath"], entry["extractPath"]);
        EXPECT_EQ(module["attributes"], AttributesOf(entry));
        const auto size = module["payloadSize"].get<std::uint32_t>();
        EXPECT_EQ(size, fs::file_size(SamplePayload() / entry["source"].get<std::string>()));
        EXPECT_EQ(module["trailerLength"], 660);
        EXPECT_EQ(module["payloadOffset"].get<std::uint32_t>(), end - 660 - size);
        end = module["payloadOffset"];
    }
    // The stub's last bytes were not zero, so four zero bytes follow it.
    EXPECT_EQ(end, 3000u + 4u);

    const Outcome table = Pack({"list", installer.string()});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 13);
    EXPECT_NE(table.out.find("BackupStorage"), std::string::npos);
}

TEST_F(RoundTrip, ListsAnsiTextsAsJsonInUtf8) {
    const fs::path installer = BuildSample();
    std::string bytes = ReadFile(installer);
    // The module appended last gets a name in the ANSI code page, whose bytes
    // E4 and 80 are the a-umlaut and the euro sign.
    const std::size_t name = bytes.size() - store::kTrailerLength + store::kFileNameOffset;
    bytes.replace(name, 2, "\xE4\x80");
    WriteFile(installer, bytes);
    const Outcome run = Pack({"list", "--json", installer.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string listed = json::parse(run.out)[0]["fileName"];
    EXPECT_EQ(listed, "\u00e4\u20ac" + Manifest().back()["fileName"].get<std::string>().substr(2));
}

TEST_F(RoundTrip, ExtractsEachVariantByteForByteWithAttributes) {
    const fs::path installer = BuildSample();
    for (const std::string variant : {"O", "K"}) {
        const fs::path drive = Dir() / ("drive" + variant);
        const Outcome run = Pack({"extract", installer.string(), "--to", drive.string(), "--tag",
                                  "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_" + variant});
        ASSERT_EQ(run.status, 0) << run.err;

        std::vector<std::string> expected;
        for (const json& entry : Manifest()) {
            if (entry["variant"] != variant) {
                continue;
            }
            const std::string path = entry["extractPath"];
            const fs::path target = path.empty()
                                        ? drive / entry["fileName"].get<std::string>()
                                        : drive / path / entry["fileName"].get<std::string>();
            expected.push_back(fs::relative(target, drive).string());
            EXPECT_EQ(ReadFile(target),
                      ReadFile(SamplePayload() / entry["source"].get<std::string>()))
                << target;
            const std::uint32_t attributes = hosted::ReadAttributes(target.string());
            EXPECT_EQ((attributes & 0x2) != 0, AttributesOf(entry) == 0x2) << target;
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FilesBelow(drive), expected);
    }
}

TEST_F(RoundTrip, ExtractRefusesAnExistingTargetAndWritesNothing) {
    const fs::path installer = BuildSample();
    const fs::path drive = Dir() / "drive";
    fs::create_directories(drive / "HelpFiles");
    WriteFile(drive / "HelpFiles" / "Stash.cnt", "mine");
    const Outcome run = Pack({"extract", installer.string(), "--to", drive.string(), "--tag",
                              "NRVK_OEM_INSTALLER_PREDEFFILE_IDX_O"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("Stash.cnt exists already"), std::string::npos) << run.err;
    EXPECT_EQ(FilesBelow(drive), (std::vector<std::string>{"HelpFiles/Stash.cnt"}));
    EXPECT_EQ(ReadFile(drive / "HelpFiles" / "Stash.cnt"), "mine");
}

TEST_F(RoundTrip, ExtractingEveryModuleRefusesTwoWithOnePlace) {
    const fs::path installer = BuildSample();
    const fs::path drive = Dir() / "drive";
    const Outcome run = Pack({"extract", installer.string(), "--to", drive.string()});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("two modules extract to"), std::string::npos) << run.err;
    EXPECT_TRUE(FilesBelow(drive).empty());
}

TEST_F(RoundTrip, UsageErrorsAreOneLineOnStandardError) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"list"}, {"pack"}, {"extract", "x.exe"}, {"list", "missing.exe"}}) {
        const Outcome run = Pack(arguments);
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

}  // namespace
