#include <gtest/gtest.h>

#include "deletion_fixture.h"
#include "fileops/error_text.h"

namespace fileops {
namespace {

using Strings = std::vector<std::string>;

TEST_F(DeletionTest, DeletesAFileWithoutAsking) {
    files.AddFile("E:\\Stash.hlp", "help");
    EXPECT_EQ(Delete("E:\\stash.HLP"), 1);
    EXPECT_FALSE(files.Exists("E:\\Stash.hlp"));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(DeletionTest, MissingPathIsReportedWithAnEmptyKindWord) {
    EXPECT_EQ(Delete("E:\\Nothing"), 0);
    EXPECT_EQ(Texts(), Strings{"Unable to find : E:\\Nothing\r\nSystem Message: " +
                               Message(win::kErrorFileNotFound)});
    EXPECT_EQ(Types(), std::vector<unsigned>{kErrorBox});
    EXPECT_EQ(machine.faults.Count(doubles::Call::PathIsDirectory), 0);
    EXPECT_EQ(machine.faults.Count(doubles::Call::GetFileAttributes), 0);
}

TEST_F(DeletionTest, ReadOnlyFileIsDeletedOnlyWithConsent) {
    files.AddFile("E:\\ro.txt", "x", win::kFileAttributeReadonly);
    machine.ui.answers = {win::kIdNo};
    EXPECT_EQ(Delete("E:\\ro.txt"), 1);
    EXPECT_EQ(files.Attributes("E:\\ro.txt"), win::kFileAttributeReadonly);
    EXPECT_EQ(Texts(), Strings{"The File: E:\\ro.txt is read-only.\r\nDelete it anyway?"});
    EXPECT_EQ(Types(), std::vector<unsigned>{kQuestion});

    machine.ui.answers = {win::kIdOk};  // anything but No counts as Yes
    EXPECT_EQ(Delete("E:\\ro.txt"), 1);
    EXPECT_FALSE(files.Exists("E:\\ro.txt"));
}

TEST_F(DeletionTest, SkippingTheReadOnlyQuestionStillAsksAboutAFullFolder) {
    files.AddFile("E:\\ro.txt", "x", win::kFileAttributeReadonly);
    files.AddFile("E:\\F\\a.txt", "a");
    machine.ui.answers = {win::kIdNo};
    EXPECT_EQ(Delete("E:\\ro.txt", 1), 1);
    EXPECT_FALSE(files.Exists("E:\\ro.txt"));
    EXPECT_EQ(Delete("E:\\F", 1), 1);
    EXPECT_TRUE(files.Exists("E:\\F\\a.txt"));
    EXPECT_EQ(Texts(), Strings{"Directory: E:\\F is not Empty.\r\nDelete Everything?"});
    EXPECT_EQ(Types(), std::vector<unsigned>{kQuestion});
}

TEST_F(DeletionTest, EmptyFolderGoesWithoutAQuestion) {
    files.AddFolder("E:\\Empty");
    EXPECT_EQ(Delete("E:\\Empty"), 1);
    EXPECT_FALSE(files.Exists("E:\\Empty"));
    EXPECT_TRUE(Texts().empty());
}

TEST_F(DeletionTest, ReadOnlyFullFolderAsksBothQuestionsReadOnlyFirst) {
    files.AddFolder("E:\\F", win::kFileAttributeDirectory | win::kFileAttributeReadonly);
    files.AddFile("E:\\F\\a.txt", "a");
    machine.ui.answers = {win::kIdYes, win::kIdNo};
    EXPECT_EQ(Delete("E:\\F"), 1);
    EXPECT_EQ(Texts(), (Strings{"The Directory: E:\\F is read-only.\r\nDelete it anyway?",
                                "Directory: E:\\F is not Empty.\r\nDelete Everything?"}));
    EXPECT_TRUE(files.Exists("E:\\F\\a.txt"));
    // The attribute cleared before the second question stays cleared.
    EXPECT_EQ(files.Attributes("E:\\F"), win::kFileAttributeDirectory);

    files.AddFolder("E:\\G", win::kFileAttributeDirectory | win::kFileAttributeReadonly);
    files.AddFile("E:\\G\\b.txt", "b");
    machine.ui.answers = {win::kIdNo};
    EXPECT_EQ(Delete("E:\\G"), 1);
    EXPECT_EQ(Texts().size(), 3u);
    EXPECT_EQ(files.Attributes("E:\\G"),
              win::kFileAttributeDirectory | win::kFileAttributeReadonly);
}

class TreeDeletionTest : public DeletionTest, public ::testing::WithParamInterface<const char*> {};

// Read-only entries inside are cleared without a question; the neighbour whose
// name begins like the folder's is left alone.
TEST_P(TreeDeletionTest, DeletesTheWholeTreeWithOneQuestion) {
    files.AddFile("E:\\Data\\a.txt", "a", win::kFileAttributeReadonly | win::kFileAttributeHidden);
    files.AddFile("E:\\Data\\Sub\\Deeper\\b.txt", "b", win::kFileAttributeReadonly);
    files.AddFolder("E:\\Data\\Sub", win::kFileAttributeDirectory | win::kFileAttributeReadonly);
    files.AddFolder("E:\\Data\\Empty");
    files.AddFile("E:\\Database.txt", "kept");
    EXPECT_EQ(Delete(GetParam()), 1);
    EXPECT_EQ(files.Tree('E'), Strings{"E:\\Database.txt"});
    EXPECT_EQ(Texts(), Strings{std::string("Directory: ") + GetParam() +
                               " is not Empty.\r\nDelete Everything?"});
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutFinalBackslash, TreeDeletionTest,
                         ::testing::Values("E:\\Data", "E:\\Data\\"));

TEST_F(DeletionTest, WaitCursorIsShownForEachEntryOfEachSearch) {
    files.AddFile("E:\\F\\a.txt", "a");
    files.AddFile("E:\\F\\Sub\\b.txt", "b");
    EXPECT_EQ(Delete("E:\\F"), 1);
    // Emptiness test: ".", "..", "a.txt"; walk of F: 4 entries; of Sub: 3.
    EXPECT_EQ(machine.ui.waitCursorShowings, 10);
}

TEST_F(DeletionTest, FolderThatCannotBeSearchedCountsAsEmptyThenFails) {
    files.AddFile("E:\\F\\a.txt", "a");
    machine.faults.FailFrom(doubles::Call::FindFile, 1, win::kErrorAccessDenied);
    EXPECT_EQ(Delete("E:\\F"), 0);
    EXPECT_EQ(Texts(), Strings{"Unable to delete Directory: E:\\F \r\n"});
    EXPECT_EQ(Types(), std::vector<unsigned>{kErrorBox});
    EXPECT_TRUE(files.Exists("E:\\F\\a.txt"));
}

TEST_F(DeletionTest, TreeDeletionIsSilentWhereTheSearchFails) {
    files.AddFolder("E:\\F");
    EXPECT_EQ(DeleteDirectoryTree(machine.os, "E:\\Missing"), 0);
    EXPECT_EQ(DeleteDirectoryTree(machine.os, ""), 0);
    machine.faults.FailNth(doubles::Call::FindFile, 1, win::kErrorGenFailure);
    EXPECT_EQ(DeleteDirectoryTree(machine.os, "E:\\F"), 0);
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(DeleteDirectoryTree(machine.os, "E:\\F"), 1);
}

TEST_F(DeletionTest, EmptinessLooksPastTheDots) {
    files.AddFolder("E:\\F");
    files.AddFile("E:\\G\\x", "");
    files.AddFile("E:\\root.txt", "");
    EXPECT_EQ(IsDirectoryEmpty(machine.os, "E:\\F"), 1);
    EXPECT_EQ(IsDirectoryEmpty(machine.os, "E:\\F\\"), 1);
    EXPECT_EQ(IsDirectoryEmpty(machine.os, "E:\\G"), 0);
    EXPECT_EQ(IsDirectoryEmpty(machine.os, "E:\\"), 0);  // a root lists no dots
    EXPECT_EQ(IsDirectoryEmpty(machine.os, "E:\\Missing"), 1);
}

TEST_F(DeletionTest, ClearReadOnlyKeepsTheOtherBits) {
    files.AddFile("E:\\f", "", win::kFileAttributeReadonly | win::kFileAttributeHidden);
    EXPECT_EQ(ClearReadOnly(machine.os, "E:\\f"), 1);
    EXPECT_EQ(files.Attributes("E:\\f"), win::kFileAttributeHidden);
    EXPECT_EQ(ClearReadOnly(machine.os, "E:\\f"), 1);
    EXPECT_EQ(machine.faults.Count(doubles::Call::SetFileAttributes), 1);
    EXPECT_EQ(ClearReadOnly(machine.os, "E:\\gone"), 0);
    EXPECT_EQ(Texts(), Strings{"Unable to get attributes of file: E:\\gone \r\nError Message: " +
                               Message(win::kErrorFileNotFound)});
}

TEST_F(DeletionTest, ErrorTextIsTheSystemsTextForTheLastError) {
    machine.system.SetLastError(win::kErrorDirNotEmpty);
    EXPECT_EQ(GetLastErrorText(machine.system), "The directory is not empty.\r\n");
    machine.system.SetLastError(0xDEAD);
    EXPECT_EQ(GetLastErrorText(machine.system), "");
}

// Folder links: the link goes, what it leads to stays.

TEST_F(DeletionTest, LinkInsideATreeIsRemovedNotFollowed) {
    files.AddFile("E:\\Keep\\precious.txt", "mine");
    files.AddFile("E:\\Data\\a.txt", "a");
    files.AddFolderLink("E:\\Data\\Link", "E:\\Keep");
    files.AddFolderLink("E:\\Data\\Dangling", "E:\\Gone");
    files.AddFolderLink("E:\\Data\\Locked", "E:\\Keep");
    ASSERT_TRUE(files.SetFileAttributesA("E:\\Data\\Locked", win::kFileAttributeReadonly));
    EXPECT_EQ(Delete("E:\\Data"), 1);
    EXPECT_EQ(files.Tree('E'), (Strings{"E:\\Keep\\", "E:\\Keep\\precious.txt"}));
    EXPECT_EQ(Texts().size(), 1u);
}

TEST_F(DeletionTest, LinkNamedForDeletionIsRemovedItself) {
    files.AddFile("E:\\Keep\\precious.txt", "mine");
    files.AddFolderLink("E:\\Link", "E:\\Keep");
    EXPECT_EQ(Delete("E:\\Link"), 1);
    EXPECT_EQ(Texts(), Strings{"Directory: E:\\Link is not Empty.\r\nDelete Everything?"});
    EXPECT_FALSE(files.Exists("E:\\Link"));
    EXPECT_EQ(files.Contents("E:\\Keep\\precious.txt"), "mine");

    files.AddFolderLink("E:\\Link2", "E:\\Keep");
    EXPECT_EQ(DeleteDirectoryTree(machine.os, "E:\\Link2\\"), 1);
    EXPECT_EQ(files.Tree('E'), (Strings{"E:\\Keep\\", "E:\\Keep\\precious.txt"}));
}

}  // namespace
}  // namespace fileops
