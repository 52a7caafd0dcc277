#include <gtest/gtest.h>

#include "doubles/fake_machine.h"
#include "recording_machine.h"
#include "store/module_store.h"
#include "test_installer.h"

namespace {

using namespace storetest;
using doubles::Call;
using store::kOrcaTag;

constexpr char kTarget[] = "E:\\Stash.exe";
constexpr std::uint32_t kPayloadSize = 2500;

class ExtractModuleTest : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;
    store::ModuleStore modules{machine.os, kInstallerPath};
    const std::string payload = Pattern(kPayloadSize);
    const TestInstaller installer = Build(Image(), {Module(kOrcaTag, "Stash.exe", payload)});
    const std::int32_t offset = static_cast<std::int32_t>(installer.placements[0].payloadOffset);

    void SetUp() override {
        machine.files.AddDrive('E');
        machine.files.AddFile(kInstallerPath, installer.bytes);
    }

    int Extract(std::uint32_t attributes = 0x80, std::uint32_t size = kPayloadSize) {
        const int result = modules.ExtractModule(kTarget, offset, size, attributes);
        EXPECT_EQ(machine.files.OpenHandleCount(), 0);
        EXPECT_EQ(machine.ui.waitCursorDepth, 0);
        EXPECT_EQ(machine.ui.waitCursorShowings, 1);
        return result;
    }
};

TEST_F(ExtractModuleTest, CopiesThePayloadUnscrambled) {
    ASSERT_NE(installer.bytes.substr(offset, kPayloadSize), payload);
    EXPECT_EQ(Extract(), 1);
    EXPECT_EQ(machine.files.Contents(kTarget), payload);
    EXPECT_TRUE(machine.ui.shown.empty());
}

TEST(ExtractModuleChunks, ReadsAndWritesOneChunkAtATime) {
    RecordingMachine machine;
    store::ModuleStore modules{machine.os, kInstallerPath};
    const std::string payload = Pattern(kPayloadSize);
    const TestInstaller installer = Build(Image(), {Module(kOrcaTag, "Stash.exe", payload)});
    machine.files.AddFile(kInstallerPath, installer.bytes);

    // Only bytes 0-255, 1024-1279 and 2048-2163 of the payload are stored
    // changed.
    const std::string stored =
        installer.bytes.substr(installer.placements[0].payloadOffset, kPayloadSize);
    for (std::size_t i = 0; i < kPayloadSize; ++i) {
        const bool scrambled = i < 256 || (i >= 1024 && i < 1280) || (i >= 2048 && i < 2164);
        ASSERT_EQ(stored[i] != payload[i], scrambled) << "byte " << i;
    }

    EXPECT_EQ(modules.ExtractModule(kTarget, 64, kPayloadSize, 0x80), 1);
    EXPECT_EQ(machine.files.reads, (std::vector<unsigned>{1024, 1024, 1024}));
    EXPECT_EQ(machine.files.writes, (std::vector<unsigned>{1024, 1024, 452}));
    EXPECT_EQ(machine.files.Contents(kTarget), payload);
}

TEST_F(ExtractModuleTest, EmptyPayloadMakesAnEmptyFile) {
    EXPECT_EQ(Extract(0x80, 0), 1);
    EXPECT_TRUE(machine.files.Exists(kTarget));
    EXPECT_EQ(machine.files.Contents(kTarget), "");
}

TEST_F(ExtractModuleTest, AttributesAreAddedOnlyWithoutABitInCommon) {
    EXPECT_EQ(Extract(win::kFileAttributeHidden), 1);
    EXPECT_EQ(machine.files.Attributes(kTarget),
              win::kFileAttributeArchive | win::kFileAttributeHidden);
}

// The normal bit has no effect beside the bits that a new file has.
TEST_F(ExtractModuleTest, NormalAttributeKeepsTheNewFilesBits) {
    EXPECT_EQ(Extract(win::kFileAttributeNormal), 1);
    EXPECT_EQ(machine.files.Attributes(kTarget), win::kFileAttributeArchive);
}

TEST_F(ExtractModuleTest, SharedBitLeavesTheAttributesAlone) {
    EXPECT_EQ(Extract(win::kFileAttributeArchive | win::kFileAttributeHidden), 1);
    EXPECT_EQ(machine.faults.Count(Call::SetFileAttributes), 0);
    EXPECT_EQ(machine.files.Attributes(kTarget), win::kFileAttributeArchive);
}

TEST_F(ExtractModuleTest, ExistingTargetIsLeftUntouched) {
    machine.files.AddFile(kTarget, "old contents", win::kFileAttributeReadonly);
    EXPECT_EQ(Extract(), 0);
    EXPECT_EQ(machine.files.Contents(kTarget), "old contents");
    EXPECT_EQ(machine.files.Attributes(kTarget), win::kFileAttributeReadonly);
}

TEST_F(ExtractModuleTest, ShortReadsStillFillWholeChunks) {
    machine.faults.ShortRead(1, 100);
    machine.faults.ShortRead(4, 1);
    EXPECT_EQ(Extract(), 1);
    EXPECT_EQ(machine.files.Contents(kTarget), payload);
}

// A copy that ends before the payload does removes what was written. (Each
// call failing outright is swept in store_faults_test.)
TEST_F(ExtractModuleTest, IncompleteCopyLeavesNoFile) {
    struct Case {
        const char* what;
        void (*arrange)(doubles::FakeMachine&);
    };
    const Case cases[] = {
        {"installer file ends", [](doubles::FakeMachine& m) { m.faults.ShortRead(3, 0); }},
        {"short write", [](doubles::FakeMachine& m) { m.faults.ShortWrite(2, 1000); }},
        {"full disk", [](doubles::FakeMachine& m) { m.files.SetCapacity('E', 1500); }},
    };
    for (const Case& c : cases) {
        doubles::FakeMachine fresh;
        fresh.files.AddDrive('E');
        fresh.files.AddFile(kInstallerPath, installer.bytes);
        store::ModuleStore freshModules{fresh.os, kInstallerPath};
        c.arrange(fresh);
        EXPECT_EQ(freshModules.ExtractModule(kTarget, offset, kPayloadSize, 0x80), 0) << c.what;
        EXPECT_FALSE(fresh.files.Exists(kTarget)) << c.what;
        EXPECT_EQ(fresh.files.OpenHandleCount(), 0) << c.what;
        EXPECT_TRUE(fresh.ui.shown.empty()) << c.what;
    }
}

TEST_F(ExtractModuleTest, TruncatedInstallerFailsAndLeavesNoFile) {
    machine.files.AddFile("C:\\Setup\\Cut.exe", installer.bytes.substr(0, offset + 2000));
    store::ModuleStore cut{machine.os, "C:\\Setup\\Cut.exe"};
    EXPECT_EQ(cut.ExtractModule(kTarget, offset, kPayloadSize, 0x80), 0);
    EXPECT_FALSE(machine.files.Exists(kTarget));
}

TEST_F(ExtractModuleTest, UndeletableRemnantIsReportedByTheDeletion) {
    machine.faults.ShortWrite(1, 10);
    machine.faults.FailNth(Call::DeleteFile, 1, win::kErrorAccessDenied);
    EXPECT_EQ(Extract(), 0);
    ASSERT_EQ(machine.ui.shown.size(), 1u);
    EXPECT_EQ(machine.ui.shown[0].type, win::kMbIconHand);
}

}  // namespace
