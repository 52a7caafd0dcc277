#include <gtest/gtest.h>

#include "doubles/fake_machine.h"
#include "store/module_store.h"

namespace {

using doubles::Call;

class CreateDirectoryPathTest : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;
    store::ModuleStore modules{machine.os, "C:\\Setup\\StashwellSetup.exe"};

    void SetUp() override { machine.files.AddDrive('E'); }

    std::vector<std::string> Drive() const { return machine.files.Tree('E'); }
};

TEST_F(CreateDirectoryPathTest, CreatesEachMissingFolderParentFirst) {
    EXPECT_EQ(modules.CreateDirectoryPath("E:\\A\\B\\C"), 1);
    EXPECT_EQ(Drive(), (std::vector<std::string>{"E:\\A\\", "E:\\A\\B\\", "E:\\A\\B\\C\\"}));
    EXPECT_EQ(machine.faults.Count(Call::CreateDirectory), 3);
}

TEST_F(CreateDirectoryPathTest, ExistingFoldersAreLeftAlone) {
    machine.files.AddFolder("E:\\HelpFiles");
    machine.files.AddFile("E:\\HelpFiles\\Stash.hlp", "help");
    EXPECT_EQ(modules.CreateDirectoryPath("E:\\HelpFiles"), 1);
    EXPECT_EQ(machine.faults.Count(Call::CreateDirectory), 0);
    EXPECT_EQ(modules.CreateDirectoryPath("E:\\HelpFiles\\Pages"), 1);
    EXPECT_EQ(machine.faults.Count(Call::CreateDirectory), 1);
    EXPECT_EQ(machine.files.Contents("E:\\HelpFiles\\Stash.hlp"), "help");
}

TEST_F(CreateDirectoryPathTest, RefusesRootsNetworkPathsAndPathsWithoutADrive) {
    for (const char* path : {"E:\\", "E:", "", "\\\\server\\share\\Stash", "E:A\\B", "EE\\A\\B"}) {
        EXPECT_EQ(modules.CreateDirectoryPath(path), 0) << path;
    }
    EXPECT_TRUE(Drive().empty());
    EXPECT_EQ(machine.faults.Count(Call::CreateDirectory), 0);
}

TEST_F(CreateDirectoryPathTest, EmptyNamesArePassedOver) {
    EXPECT_EQ(modules.CreateDirectoryPath("E:\\A\\\\B\\"), 1);
    EXPECT_EQ(Drive(), (std::vector<std::string>{"E:\\A\\", "E:\\A\\B\\"}));
}

TEST_F(CreateDirectoryPathTest, FailureMidwayKeepsTheFoldersMadeBeforeIt) {
    machine.faults.FailNth(Call::CreateDirectory, 2, win::kErrorAccessDenied);
    EXPECT_EQ(modules.CreateDirectoryPath("E:\\A\\B\\C"), 0);
    EXPECT_EQ(Drive(), (std::vector<std::string>{"E:\\A\\"}));
}

TEST_F(CreateDirectoryPathTest, FileInTheWayFails) {
    machine.files.AddFile("E:\\A", "not a folder");
    EXPECT_EQ(modules.CreateDirectoryPath("E:\\A\\B"), 0);
    EXPECT_EQ(Drive(), (std::vector<std::string>{"E:\\A"}));
}

}  // namespace
