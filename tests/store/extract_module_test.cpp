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

// Every failure before the file is complete removes what was written.
TEST_F(ExtractModuleTest, TruncatedInstallerFailsAndLeavesNoFile) {
    machine.files.AddFile("C:\\Setup\\Cut.exe", installer.bytes.substr(0, offset + 2000));
    store::ModuleStore cut{machine.os, "C:\\Setup\\Cut.exe"};
    EXPECT_EQ(cut.ExtractModule(kTarget, offset, kPayloadSize, 0x80), 0);
    EXPECT_FALSE(machine.files.Exists(kTarget));
    EXPECT_EQ(machine.files.OpenHandleCount(), 0);
    EXPECT_TRUE(machine.ui.shown.empty());
}

TEST_F(ExtractModuleTest, FailedCopyLeavesNoFile) {
    struct Fault {
        const char* what;
        void (*inject)(doubles::FaultPlan&);
    };
    const Fault faults[] = {
        {"seek", [](doubles::FaultPlan& f) { f.FailNth(Call::Seek, 1, win::kErrorNegativeSeek); }},
        {"read error",
         [](doubles::FaultPlan& f) { f.FailNth(Call::Read, 2, win::kErrorGenFailure); }},
        {"file ends", [](doubles::FaultPlan& f) { f.ShortRead(3, 0); }},
        {"short write", [](doubles::FaultPlan& f) { f.ShortWrite(2, 1000); }},
        {"write error",
         [](doubles::FaultPlan& f) { f.FailNth(Call::Write, 3, win::kErrorDiskFull); }},
        {"target close",
         [](doubles::FaultPlan& f) { f.FailNth(Call::Close, 1, win::kErrorDiskFull); }},
    };
    for (const Fault& fault : faults) {
        doubles::FakeMachine fresh;
        fresh.files.AddDrive('E');
        fresh.files.AddFile(kInstallerPath, installer.bytes);
        store::ModuleStore freshModules{fresh.os, kInstallerPath};
        fault.inject(fresh.faults);
        EXPECT_EQ(freshModules.ExtractModule(kTarget, offset, kPayloadSize, 0x80), 0) << fault.what;
        EXPECT_FALSE(fresh.files.Exists(kTarget)) << fault.what;
        EXPECT_EQ(fresh.files.OpenHandleCount(), 0) << fault.what;
        EXPECT_EQ(fresh.ui.waitCursorDepth, 0) << fault.what;
        EXPECT_FALSE(fresh.faults.Injected().empty()) << fault.what;
    }
}

TEST_F(ExtractModuleTest, FullDiskLeavesNoFile) {
    machine.files.SetCapacity('E', 1500);
    EXPECT_EQ(Extract(), 0);
    EXPECT_FALSE(machine.files.Exists(kTarget));
}

TEST_F(ExtractModuleTest, UndeletableRemnantIsReportedByTheDeletion) {
    machine.faults.ShortWrite(1, 10);
    machine.faults.FailNth(Call::DeleteFile, 1, win::kErrorAccessDenied);
    EXPECT_EQ(Extract(), 0);
    ASSERT_EQ(machine.ui.shown.size(), 1u);
    EXPECT_EQ(machine.ui.shown[0].type, win::kMbIconHand);
}

TEST_F(ExtractModuleTest, AttributeFailureKeepsTheCompleteFile) {
    machine.faults.FailNth(Call::GetFileAttributes, 1, win::kErrorAccessDenied);
    EXPECT_EQ(Extract(), 0);
    EXPECT_EQ(machine.files.Contents(kTarget), payload);

    doubles::FakeMachine other;
    other.files.AddDrive('E');
    other.files.AddFile(kInstallerPath, installer.bytes);
    store::ModuleStore otherModules{other.os, kInstallerPath};
    other.faults.FailNth(Call::SetFileAttributes, 1, win::kErrorAccessDenied);
    EXPECT_EQ(otherModules.ExtractModule(kTarget, offset, kPayloadSize, 0x2), 0);
    EXPECT_EQ(other.files.Contents(kTarget), payload);
}

TEST_F(ExtractModuleTest, UnopenableFilesCreateNothing) {
    machine.faults.FailNth(Call::OpenRead, 1, win::kErrorSharingViolation);
    EXPECT_EQ(Extract(), 0);
    EXPECT_FALSE(machine.files.Exists(kTarget));
    EXPECT_EQ(machine.faults.Count(Call::CreateExclusive), 0);

    machine.faults.FailNth(Call::CreateExclusive, 1, win::kErrorWriteProtect);
    EXPECT_EQ(modules.ExtractModule(kTarget, offset, kPayloadSize, 0x80), 0);
    EXPECT_FALSE(machine.files.Exists(kTarget));
    EXPECT_EQ(machine.files.OpenHandleCount(), 0);
    EXPECT_EQ(machine.ui.waitCursorDepth, 0);
}

// Each call of a clean extraction made to fail in turn: the result says
// whether the file is complete, and only a complete file whose attributes
// could not be set is left behind after a failure.
TEST(ExtractModuleFaults, EveryFailingCallIsReportedAndCleanedUp) {
    const std::string payload = Pattern(kPayloadSize);
    const TestInstaller installer = Build(Image(), {Module(kOrcaTag, "Stash.exe", payload)});
    int calls = 0;
    for (int nth = 1; nth == 1 || nth <= calls; ++nth) {
        doubles::FakeMachine machine;
        machine.files.AddDrive('E');
        machine.files.AddFile(kInstallerPath, installer.bytes);
        store::ModuleStore modules{machine.os, kInstallerPath};
        const int before = machine.faults.Total();
        if (nth > 1) {
            machine.faults.FailNthOverall(before + nth - 1, win::kErrorGenFailure);
        }
        const int result = modules.ExtractModule(kTarget, 64, kPayloadSize, 0x2);
        if (nth == 1) {
            calls = machine.faults.Total() - before + 1;
            ASSERT_EQ(result, 1);
        }
        const std::string injected = machine.faults.Injected();
        EXPECT_EQ(machine.files.OpenHandleCount(), 0) << injected;
        EXPECT_EQ(machine.ui.waitCursorDepth, 0) << injected;
        const bool attributesFailed = injected.find("FileAttributes") != std::string::npos;
        if (result == 1 || attributesFailed) {
            EXPECT_EQ(machine.files.Contents(kTarget), payload) << injected;
            EXPECT_NE(result == 1, attributesFailed) << injected;
        } else {
            EXPECT_FALSE(machine.files.Exists(kTarget)) << injected;
        }
    }
}

}  // namespace
