#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "doubles/fake_machine.h"
#include "recording_machine.h"
#include "store/module_store.h"
#include "test_installer.h"

namespace {

using namespace storetest;
using doubles::Call;
using store::kKestrelTag;
using store::kOrcaTag;
using store::kStorePrefix;

constexpr std::uint32_t kNtFamily = 2;
constexpr std::uint32_t k95Family = 1;

class FindModuleTest : public ::testing::TestWithParam<std::uint32_t> {
  protected:
    doubles::FakeMachine machine;
    store::ModuleStore modules{machine.os, kInstallerPath};

    void SetUp() override { machine.system.platformId = GetParam(); }

    void Install(const std::string& bytes) { machine.files.AddFile(kInstallerPath, bytes); }

    // Every result of a walk for the key, up to and with the 0 or -1 that
    // ends it; no call may leave the installer file open.
    std::vector<std::int32_t> Walk(const std::string& key, bool byTag) {
        std::vector<std::int32_t> results;
        std::uint32_t start = 0;
        for (int guard = 0; guard < 100; ++guard) {
            const std::int32_t r = modules.FindModule(key, nullptr, byTag, nullptr, start);
            EXPECT_EQ(machine.files.OpenHandleCount(), 0);
            results.push_back(r);
            if (r <= 0) {
                break;
            }
            start = static_cast<std::uint32_t>(r);
        }
        return results;
    }
};

INSTANTIATE_TEST_SUITE_P(BothFamilies, FindModuleTest, ::testing::Values(kNtFamily, k95Family),
                         [](const auto& info) { return info.param == kNtFamily ? "Nt" : "Win9x"; });

TEST_P(FindModuleTest, StoreWithoutModulesHoldsNoMatch) {
    Install(Image());
    EXPECT_EQ(Walk("", false), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(Walk(kOrcaTag, true), (std::vector<std::int32_t>{0}));
}

TEST_P(FindModuleTest, ModulesOfOneTagComeLastAppendedFirst) {
    const TestInstaller installer =
        Build(Image(), {Module(kOrcaTag, "A.txt", Pattern(100)), Module(kKestrelTag, "K.txt", "k"),
                        Module(kOrcaTag, "B.txt", Pattern(3000))});
    Install(installer.bytes);
    const auto a = static_cast<std::int32_t>(installer.placements[0].payloadOffset);
    const auto b = static_cast<std::int32_t>(installer.placements[2].payloadOffset);
    EXPECT_EQ(Walk(kOrcaTag, true), (std::vector<std::int32_t>{b, a, 0}));
}

TEST_P(FindModuleTest, FillsTheOutputsOnlyOnAMatch) {
    Install(Build(Image(), {Module(kOrcaTag, "Stash.hlp", Pattern(2500), "HelpFiles")}).bytes);
    std::int32_t offset = -7;
    store::ModuleHeader header{};
    std::memset(&header, 'x', sizeof header);
    EXPECT_EQ(modules.FindModule(kKestrelTag, &offset, true, &header, 0), 0);
    EXPECT_EQ(offset, -7);
    EXPECT_EQ(header.fileName[0], 'x');

    const std::int32_t found = modules.FindModule(kOrcaTag, &offset, true, &header, 0);
    EXPECT_EQ(found, 64);
    EXPECT_EQ(offset, 64);
    EXPECT_EQ(header.payloadSize, 2500u);
    EXPECT_STREQ(header.tag, kOrcaTag);
    EXPECT_STREQ(header.fileName, "Stash.hlp");
    EXPECT_STREQ(header.extractPath, "HelpFiles");
    EXPECT_EQ(header.attributes, 0x80u);
    EXPECT_EQ(header.trailerLength, 660u);
    EXPECT_EQ(header.tag[store::kTagFieldWidth], 'x');  // never filled from a trailer
}

TEST_P(FindModuleTest, TagKeysMatchOverThirtyFiveCharacters) {
    const std::string longKestrel = std::string(kKestrelTag) + "_SLIM";
    const TestInstaller installer =
        Build(Image(), {Module(kStorePrefix, "plain.txt", "p"), Module(kOrcaTag, "o.txt", "o"),
                        Module(longKestrel, "k.txt", "k")});
    Install(installer.bytes);
    const auto plain = static_cast<std::int32_t>(installer.placements[0].payloadOffset);
    const auto orca = static_cast<std::int32_t>(installer.placements[1].payloadOffset);
    const auto kestrel = static_cast<std::int32_t>(installer.placements[2].payloadOffset);

    // A key under 35 characters matches only a tag equal to it.
    EXPECT_EQ(Walk(kStorePrefix, true), (std::vector<std::int32_t>{plain, 0}));
    EXPECT_EQ(Walk(store::kPredefinedPrefix, true), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(Walk(kOrcaTag, true), (std::vector<std::int32_t>{orca, 0}));
    // A tag that goes on after the variant character still matches.
    EXPECT_EQ(Walk(kKestrelTag, true), (std::vector<std::int32_t>{kestrel, 0}));
    EXPECT_EQ(Walk(std::string(kKestrelTag) + "_PRISM", true),
              (std::vector<std::int32_t>{kestrel, 0}));
    // Tags are compared case-sensitively.
    EXPECT_EQ(Walk("nrvk_oem_installer", true), (std::vector<std::int32_t>{0}));
}

TEST_P(FindModuleTest, FileNamesMatchAsCaseSensitivePrefixes) {
    const std::string kestrelFileName = std::string(kKestrelTag) + ".txt";
    const TestInstaller installer = Build(
        Image(), {Module(kOrcaTag, "Stash.exe", "1"), Module(kOrcaTag, "stash.ini", "2"),
                  Module(kOrcaTag, "MyStash.hlp", "3"), Module(kOrcaTag, kestrelFileName, "4"),
                  Module(kKestrelTag, "Stash.hlp", "5")});
    Install(installer.bytes);
    std::vector<std::int32_t> at;
    for (const auto& placement : installer.placements) {
        at.push_back(static_cast<std::int32_t>(placement.payloadOffset));
    }

    EXPECT_EQ(Walk("Stash", false), (std::vector<std::int32_t>{at[4], at[0], 0}));
    // Without byTag a key equal to a tag finds only a file name that begins
    // with it; with byTag such a file name matches whatever its own tag.
    EXPECT_EQ(Walk(kKestrelTag, false), (std::vector<std::int32_t>{at[3], 0}));
    EXPECT_EQ(Walk(kKestrelTag, true), (std::vector<std::int32_t>{at[4], at[3], 0}));
    EXPECT_EQ(Walk("Stash.exe.bak", false), (std::vector<std::int32_t>{0}));
}

TEST_P(FindModuleTest, EmptyKeyMatchesEveryModule) {
    const TestInstaller installer =
        Build(Image(), {Module(kOrcaTag, "a", "1"), Module(kKestrelTag, "b", "")});
    Install(installer.bytes);
    const std::vector<std::int32_t> all{
        static_cast<std::int32_t>(installer.placements[1].payloadOffset),
        static_cast<std::int32_t>(installer.placements[0].payloadOffset), 0};
    EXPECT_EQ(Walk("", false), all);
    EXPECT_EQ(Walk("", true), all);
}

TEST_P(FindModuleTest, ForeignTagMetBeforeAMatchFailsTheWalk) {
    const TestInstaller installer =
        Build(Image(), {Module(kOrcaTag, "a", "1"), Module("OTHER_INSTALLER", "b", "2"),
                        Module(kKestrelTag, "c", "3")});
    Install(installer.bytes);
    EXPECT_EQ(Walk(kOrcaTag, true), (std::vector<std::int32_t>{-1}));
    const auto kestrel = static_cast<std::int32_t>(installer.placements[2].payloadOffset);
    EXPECT_EQ(Walk(kKestrelTag, true), (std::vector<std::int32_t>{kestrel, -1}));
}

TEST_P(FindModuleTest, TrailerLengthOutsideItsRangeEndsTheWalk) {
    TestInstaller installer = Build(Image(), {Module(kOrcaTag, "a", "1")});
    std::string belowHeader = installer.bytes;
    PutDword(belowHeader, belowHeader.size() - 4, 659);
    Install(belowHeader);
    EXPECT_EQ(Walk("", false), (std::vector<std::int32_t>{0}));

    doubles::FakeMachine other;
    other.system.platformId = GetParam();
    store::ModuleStore otherModules{other.os, kInstallerPath};
    std::string beyondStart = installer.bytes;
    PutDword(beyondStart, beyondStart.size() - 4, static_cast<std::uint32_t>(beyondStart.size()));
    other.files.AddFile(kInstallerPath, beyondStart);
    EXPECT_EQ(otherModules.FindModule("", nullptr, false, nullptr, 0), 0);
}

TEST_P(FindModuleTest, LongerTrailerIsSteppedOverWhole) {
    const TestInstaller installer =
        Build(Image(), {Module(kOrcaTag, "a", Pattern(10)), Module(kOrcaTag, "b", Pattern(20))});
    std::string bytes = installer.bytes;
    bytes.append(40, '\xCD');
    PutDword(bytes, bytes.size() - 4, 700);
    Install(bytes);
    EXPECT_EQ(Walk(kOrcaTag, true),
              (std::vector<std::int32_t>{
                  static_cast<std::int32_t>(installer.placements[1].payloadOffset),
                  static_cast<std::int32_t>(installer.placements[0].payloadOffset), 0}));
}

TEST_P(FindModuleTest, PayloadReachingPastTheFileStartFailsTheWalk) {
    const TestInstaller installer = Build(Image(), {Module(kOrcaTag, "a", Pattern(10))});
    const std::uint32_t trailer = installer.placements[0].trailerOffset;
    for (const std::uint32_t payloadSize : {trailer, trailer + 1, 0xFFFFFFFFu}) {
        doubles::FakeMachine fresh;
        fresh.system.platformId = GetParam();
        store::ModuleStore freshModules{fresh.os, kInstallerPath};
        std::string bytes = installer.bytes;
        PutDword(bytes, trailer, payloadSize);
        fresh.files.AddFile(kInstallerPath, bytes);
        EXPECT_EQ(freshModules.FindModule("", nullptr, false, nullptr, 0), -1) << payloadSize;
    }
}

TEST_P(FindModuleTest, StartOffsetBeyondTheFileFails) {
    Install(Build(Image(), {Module(kOrcaTag, "a", "1")}).bytes);
    EXPECT_EQ(modules.FindModule("", nullptr, false, nullptr, 100000), -1);
    EXPECT_EQ(modules.FindModule("", nullptr, false, nullptr, 3), -1);
}

TEST(FindModuleMeasure, NtAsksTheFileSystemAndWin9xReadsTheFileThrough) {
    for (const std::uint32_t family : {kNtFamily, k95Family}) {
        RecordingMachine machine;
        machine.base.system.platformId = family;
        store::ModuleStore modules{machine.os, kInstallerPath};
        const TestInstaller installer =
            Build(Image(), {Module(kOrcaTag, "a", Pattern(5000)), Module(kOrcaTag, "b", "")});
        machine.files.AddFile(kInstallerPath, installer.bytes);

        EXPECT_EQ(modules.FindModule("a", nullptr, false, nullptr, 0),
                  static_cast<std::int32_t>(installer.placements[0].payloadOffset));
        const int measured = machine.base.faults.Count(Call::GetFileLength);
        const std::size_t fullReads = (installer.bytes.size() + 1023) / 1024 + 1;
        if (family == kNtFamily) {
            EXPECT_EQ(measured, 1);
            // Two modules passed: the trailer length and the record of each.
            EXPECT_EQ(machine.files.reads, (std::vector<unsigned>{4, 660, 4, 660}));
        } else {
            EXPECT_EQ(measured, 0);
            ASSERT_EQ(machine.files.reads.size(), fullReads + 4);
            EXPECT_EQ(machine.files.reads.front(), 1024u);
        }
    }
}

TEST(FindModuleMeasure, HugeTrailerLengthReadsOnlyTheRecord) {
    RecordingMachine machine;
    store::ModuleStore modules{machine.os, kInstallerPath};
    const TestInstaller installer = Build(Image(), {Module(kOrcaTag, "a", "1")});
    constexpr std::uint32_t kLength = 3 * 1024 * 1024;
    std::string bytes = installer.bytes;
    bytes.append(kLength - store::kTrailerLength, '\0');
    PutDword(bytes, bytes.size() - 4, kLength);
    machine.files.AddFile(kInstallerPath, bytes);

    EXPECT_EQ(modules.FindModule(kOrcaTag, nullptr, true, nullptr, 0),
              static_cast<std::int32_t>(installer.placements[0].payloadOffset));
    EXPECT_EQ(machine.files.reads, (std::vector<unsigned>{4, 660}));
}

TEST(FindModuleMeasure, FileBeyondSigned32BitOffsetsFails) {
    RecordingMachine machine;
    store::ModuleStore modules{machine.os, kInstallerPath};
    machine.files.AddFile(kInstallerPath, Build(Image(), {Module(kOrcaTag, "a", "1")}).bytes);
    machine.files.reportedLength = 0x80000000u + 64 + 1 + 660;
    EXPECT_EQ(modules.FindModule("", nullptr, false, nullptr, 0), -1);
    EXPECT_TRUE(machine.files.reads.empty());
    EXPECT_EQ(machine.files.OpenHandleCount(), 0);
}

}  // namespace
