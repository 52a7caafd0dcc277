#include "doubles/memory_file_system.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/win_constants.h"

namespace doubles {
namespace {

class MemoryFileSystemTest : public ::testing::Test {
  protected:
    FaultPlan faults;
    hosted::LastError lastError;
    MemoryFileSystem files{lastError, faults};

    MemoryFileSystemTest() { files.AddDrive('E'); }

    struct Listed {
        std::string path;
        bool folder;
        bool dots;
        bool more;
    };
    // Walks a search the way the logic does: move, then handle the entry.
    std::vector<Listed> List(const std::string& pattern) {
        std::vector<Listed> listed;
        auto find = files.NewFileFind();
        if (find->FindFile(pattern)) {
            bool more = true;
            while (more) {
                more = find->FindNextFile();
                listed.push_back({find->GetFilePath(),
                                  find->MatchesMask(win::kFileAttributeDirectory), find->IsDots(),
                                  more});
            }
            find->Close();
        }
        return listed;
    }
};

TEST_F(MemoryFileSystemTest, SearchReportsTheLastEntryWhenMovingOntoIt) {
    files.AddFile("E:\\Help\\b.hlp", "b");
    files.AddFolder("E:\\Help\\A");
    const auto listed = List("E:\\Help\\*.*");
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0].path, "E:\\Help\\.");
    EXPECT_TRUE(listed[0].dots && listed[0].folder && listed[0].more);
    EXPECT_EQ(listed[1].path, "E:\\Help\\..");
    EXPECT_EQ(listed[2].path, "E:\\Help\\A");
    EXPECT_TRUE(listed[2].folder && !listed[2].dots && listed[2].more);
    EXPECT_EQ(listed[3].path, "E:\\Help\\b.hlp");
    EXPECT_FALSE(listed[3].folder || listed[3].more);
    EXPECT_EQ(files.OpenSearchCount(), 0);
}

TEST_F(MemoryFileSystemTest, SearchOfARootHasNoDotsAndPatternFormsAgree) {
    files.AddFile("E:\\x", "");
    const auto listed = List("E:\\*.*");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].path, "E:\\x");
    files.AddFolder("E:\\F");
    EXPECT_EQ(List("E:\\F\\*.*").size(), 2u);
    EXPECT_EQ(List("e:\\f\\.\\..\\F\\\\*.*")[1].path, "e:\\F\\..");
}

TEST_F(MemoryFileSystemTest, SearchFailuresSetTheErrorAndOpenNothing) {
    auto find = files.NewFileFind();
    EXPECT_FALSE(find->FindFile("E:\\Missing\\*.*"));
    EXPECT_EQ(lastError.Get(), win::kErrorPathNotFound);
    EXPECT_FALSE(find->FindFile("E:\\*.*"));  // an empty root has no entry at all
    EXPECT_EQ(lastError.Get(), win::kErrorFileNotFound);
    EXPECT_FALSE(find->FindFile(""));
    EXPECT_EQ(files.OpenSearchCount(), 0);
}

TEST_F(MemoryFileSystemTest, SearchLeftOpenStaysCounted) {
    files.AddFolder("E:\\F");
    files.NewFileFind()->FindFile("E:\\F\\*.*");
    EXPECT_EQ(files.OpenSearchCount(), 1);
}

TEST_F(MemoryFileSystemTest, FailedFindNextFileKeepsTheEntryItMovedTo) {
    files.AddFile("E:\\F\\a", "");
    files.AddFile("E:\\F\\b", "");
    faults.FailNth(Call::FindNextFile, 3, win::kErrorGenFailure);
    const auto listed = List("E:\\F\\*.*");
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[2].path, "E:\\F\\a");
    EXPECT_EQ(lastError.Get(), win::kErrorGenFailure);
    EXPECT_EQ(faults.Injected(), "FindNextFile #3");
}

TEST_F(MemoryFileSystemTest, FolderLinkIsListedThroughAndRemovedAlone) {
    files.AddFile("E:\\Target\\kept.txt", "data");
    files.AddFolderLink("E:\\Link", "E:\\Target");
    EXPECT_EQ(files.GetFileAttributesA("E:\\link"),
              win::kFileAttributeDirectory | win::kFileAttributeReparsePoint);
    const auto listed = List("E:\\Link\\*.*");
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[2].path, "E:\\Link\\kept.txt");
    EXPECT_EQ(files.Contents("E:\\Link\\kept.txt"), "data");
    EXPECT_TRUE(files.RemoveDirectoryA("E:\\Link"));
    EXPECT_FALSE(files.Exists("E:\\Link"));
    EXPECT_EQ(files.Contents("E:\\Target\\kept.txt"), "data");
}

TEST_F(MemoryFileSystemTest, DeletionAndCreationRefuseAsWindowsDoes) {
    files.AddFile("E:\\F\\ro.txt", "", win::kFileAttributeReadonly);
    files.AddFolder("E:\\Ro", win::kFileAttributeDirectory | win::kFileAttributeReadonly);
    auto created = [this](const char* path) { return files.CreateExclusive(path) >= 0; };
    const std::vector<std::pair<std::function<bool()>, std::uint32_t>> cases = {
        {[&] { return files.DeleteFileA("E:\\F\\RO.TXT"); }, win::kErrorAccessDenied},
        {[&] { return files.DeleteFileA("E:\\F"); }, win::kErrorAccessDenied},
        {[&] { return files.RemoveDirectoryA("E:\\F"); }, win::kErrorDirNotEmpty},
        {[&] { return files.RemoveDirectoryA("E:\\Ro"); }, win::kErrorAccessDenied},
        {[&] { return files.RemoveDirectoryA("E:\\F\\ro.txt"); }, win::kErrorDirectory},
        {[&] { return files.RemoveDirectoryA("E:\\"); }, win::kErrorAccessDenied},
        {[&] { return created("E:\\F\\ro.txt"); }, win::kErrorFileExists},
        {[&] { return created("E:\\F"); }, win::kErrorAccessDenied},
        {[&] { return created("E:\\No\\new"); }, win::kErrorPathNotFound},
        {[&] { return created("E:\\F\\a?b"); }, win::kErrorInvalidName},
        {[&] { return created("E:\\F\\new\\"); }, win::kErrorInvalidName},
        {[&] { return files.CreateDirectoryA("E:\\f\\"); }, win::kErrorAlreadyExists},
        {[&] { return files.PathFileExistsA("Q:\\x"); }, win::kErrorPathNotFound},
        {[&] { return files.PathFileExistsA("E:\\F\\none"); }, win::kErrorFileNotFound},
        {[&] { return files.PathIsDirectoryA("E:\\F\\<"); }, win::kErrorInvalidName},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        lastError.Set(0);
        EXPECT_FALSE(cases[i].first()) << "case " << i;
        EXPECT_EQ(lastError.Get(), cases[i].second) << "case " << i;
    }
    EXPECT_TRUE(files.Exists("E:\\F\\ro.txt"));
    EXPECT_EQ(files.OpenHandleCount(), 0);
}

TEST_F(MemoryFileSystemTest, NormalBitStandsOnlyAlone) {
    files.AddFile("E:\\f", "");
    EXPECT_EQ(files.Attributes("E:\\f"), win::kFileAttributeNormal);
    EXPECT_TRUE(files.SetFileAttributesA("E:\\f", 0x80 | 0x2));
    EXPECT_EQ(files.Attributes("E:\\f"), 0x2u);
    EXPECT_TRUE(files.SetFileAttributesA("E:\\f", 0));
    EXPECT_EQ(files.Attributes("E:\\f"), win::kFileAttributeNormal);
    const int handle = files.CreateExclusive("E:\\new");
    EXPECT_EQ(files.Close(handle), 0);
    EXPECT_EQ(files.Attributes("E:\\new"), win::kFileAttributeArchive);
}

TEST_F(MemoryFileSystemTest, FullDiskWritesShortThenFails) {
    files.SetCapacity('E', 10);
    files.AddFile("E:\\old", "1234");
    const int handle = files.CreateExclusive("E:\\new");
    EXPECT_EQ(files.Write(handle, "abcdefgh", 8), 6);
    EXPECT_EQ(lastError.Get(), win::kErrorDiskFull);
    EXPECT_EQ(files.Write(handle, "x", 1), -1);
    EXPECT_EQ(files.Seek(handle, 2), 2);
    EXPECT_EQ(files.Write(handle, "XY", 2), 2);  // overwriting needs no room
    EXPECT_EQ(files.Close(handle), 0);
    EXPECT_EQ(files.Contents("E:\\new"), "abXYef");
    EXPECT_TRUE(files.DeleteFileA("E:\\old"));
    const int again = files.OpenRead("E:\\new");
    EXPECT_EQ(files.Write(again, "z", 1), -1);  // opened for reading only
    EXPECT_EQ(files.Close(again), 0);
}

TEST_F(MemoryFileSystemTest, PulledDriveFailsPathsAndOpenHandles) {
    files.AddFile("E:\\f", "abc");
    const int handle = files.OpenRead("E:\\f");
    EXPECT_FALSE(files.DeleteFileA("E:\\f"));
    EXPECT_EQ(lastError.Get(), win::kErrorSharingViolation);
    files.RemoveDrive('E');
    char buffer[4];
    EXPECT_EQ(files.Read(handle, buffer, 3), -1);
    EXPECT_EQ(lastError.Get(), win::kErrorNotReady);
    EXPECT_EQ(files.GetFileAttributesA("E:\\f"), win::kInvalidFileAttributes);
    EXPECT_EQ(lastError.Get(), win::kErrorPathNotFound);
    EXPECT_EQ(files.Close(handle), 0);
    EXPECT_EQ(files.OpenHandleCount(), 0);
}

TEST_F(MemoryFileSystemTest, ShortReadAndFailedCloseStillReleaseTheHandle) {
    files.AddFile("E:\\f", "abcdef");
    faults.ShortRead(1, 2);
    faults.FailNth(Call::Close, 1, win::kErrorGenFailure);
    const int handle = files.OpenRead("E:\\F");
    char buffer[8] = {};
    EXPECT_EQ(files.Read(handle, buffer, 8), 2);
    EXPECT_EQ(files.Read(handle, buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, 4), "cdef");
    EXPECT_EQ(files.Read(handle, buffer, 8), 0);
    EXPECT_EQ(files.Close(handle), -1);
    EXPECT_EQ(files.OpenHandleCount(), 0);
    EXPECT_EQ(faults.Injected(), "short Read #1, Close #1");
}

TEST_F(MemoryFileSystemTest, PathsNeverClimbAboveTheRoot) {
    files.AddFile("E:\\top.txt", "t");
    EXPECT_TRUE(files.PathFileExistsA("E:\\..\\..\\TOP.TXT"));
    EXPECT_TRUE(files.PathIsDirectoryA("e:\\"));
    EXPECT_FALSE(files.PathIsDirectoryA("E:\\top.txt"));
    EXPECT_EQ(files.Tree('E'), std::vector<std::string>{"E:\\top.txt"});
}

}  // namespace
}  // namespace doubles
