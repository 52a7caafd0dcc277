#include "platform/hosted/hosted_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>

#include "hosted_machine.h"
#include "platform/win_constants.h"

namespace hosted_test {
namespace {

constexpr std::uint32_t kReadonly = win::kFileAttributeReadonly;
constexpr std::uint32_t kHidden = win::kFileAttributeHidden;
constexpr std::uint32_t kDirectory = win::kFileAttributeDirectory;
constexpr std::uint32_t kNormal = win::kFileAttributeNormal;

class HostedFileSystemTest : public HostedMachine {
  protected:
    // The text of user.DOSATTRIB, or "none".
    static std::string DosAttrib(const fs::path& path) {
        char text[64];
        const ssize_t size = getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text);
        return size < 0 ? "none" : std::string(text, static_cast<std::size_t>(size));
    }
    static void SetDosAttrib(const fs::path& path, const std::string& text) {
        ASSERT_EQ(setxattr(path.c_str(), "user.DOSATTRIB", text.data(), text.size(), 0), 0);
    }
    // Fails the test unless the call failed and left the given last error.
    void ExpectFailure(bool succeeded, std::uint32_t code) {
        EXPECT_FALSE(succeeded);
        EXPECT_EQ(lastError_.Get(), code);
    }
};

TEST_F(HostedFileSystemTest, CreatesOrdinaryFilesExclusivelyAndReadsThemBack) {
    const int created = files_.CreateExclusive("E:\\Setup.dat");
    ASSERT_GE(created, 0);
    EXPECT_EQ(files_.Write(created, "0123456789", 10), 10);
    EXPECT_EQ(files_.Close(created), 0);
    EXPECT_EQ(files_.GetFileAttributesA("e:\\SETUP.DAT"), kNormal);

    EXPECT_EQ(files_.CreateExclusive("E:\\setup.DAT"), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorFileExists);
    EXPECT_EQ(files_.CreateExclusive("E:\\NoFolder\\x.dat"), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorPathNotFound);

    const int handle = files_.OpenRead("E:\\Setup.dat");
    ASSERT_GE(handle, 0);
    char buffer[8] = {};
    EXPECT_EQ(files_.Seek(handle, 6), 6);
    EXPECT_EQ(files_.Read(handle, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(files_.Read(handle, buffer, sizeof buffer), 0);
    EXPECT_EQ(files_.Seek(handle, -1), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorNegativeSeek);
    EXPECT_EQ(files_.Close(handle), 0);
    EXPECT_EQ(files_.Read(handle, buffer, 1), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorInvalidHandle);

    std::uint64_t length = 0;
    EXPECT_TRUE(files_.GetFileLength("E:\\setup.dat", length));
    EXPECT_EQ(length, 10u);
}

TEST_F(HostedFileSystemTest, OpeningFailsWithTheCodesOfWindows) {
    fs::create_directory(drive() / "Folder");
    EXPECT_EQ(files_.OpenRead("E:\\missing.dat"), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorFileNotFound);
    EXPECT_EQ(files_.OpenRead("E:\\missing\\x.dat"), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorPathNotFound);
    EXPECT_EQ(files_.OpenRead("E:\\Folder"), -1);
    EXPECT_EQ(lastError_.Get(), win::kErrorAccessDenied);
    std::uint64_t length = 7;
    ExpectFailure(files_.GetFileLength("E:\\Folder", length), win::kErrorAccessDenied);
    EXPECT_EQ(length, 7u);
}

TEST_F(HostedFileSystemTest, DeleteFileRefusesReadOnlyFilesAndFolders) {
    WriteFile(drive() / "Locked.txt", "keep");
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Locked.txt", kReadonly));
    EXPECT_EQ(files_.GetFileAttributesA("E:\\Locked.txt"), kReadonly);
    EXPECT_EQ(fs::status(drive() / "Locked.txt").permissions() & fs::perms::owner_write,
              fs::perms::none);

    ExpectFailure(files_.DeleteFileA("E:\\Locked.txt"), win::kErrorAccessDenied);
    EXPECT_TRUE(fs::exists(drive() / "Locked.txt"));
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Locked.txt", kNormal));
    EXPECT_TRUE(files_.DeleteFileA("E:\\locked.TXT"));
    EXPECT_FALSE(fs::exists(drive() / "Locked.txt"));

    ExpectFailure(files_.DeleteFileA("E:\\Locked.txt"), win::kErrorFileNotFound);
    fs::create_directory(drive() / "Folder");
    ExpectFailure(files_.DeleteFileA("E:\\Folder"), win::kErrorAccessDenied);
}

TEST_F(HostedFileSystemTest, HiddenSystemAndArchiveLiveInDosAttrib) {
    const fs::path file = drive() / "Stash.hlp";
    WriteFile(file, "help");
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Stash.hlp", kHidden));
    EXPECT_EQ(DosAttrib(file), "0x2");
    EXPECT_EQ(files_.GetFileAttributesA("E:\\Stash.hlp"), kHidden);

    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Stash.hlp", 0x27));
    EXPECT_EQ(DosAttrib(file), "0x26");
    EXPECT_EQ(files_.GetFileAttributesA("E:\\Stash.hlp"), 0x27u);

    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Stash.hlp", kNormal));
    EXPECT_EQ(DosAttrib(file), "none");
    EXPECT_EQ(files_.GetFileAttributesA("E:\\Stash.hlp"), kNormal);
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(HostedFileSystemTest, ReadsDosAttribAsOtherProgramsWriteIt) {
    WriteFile(drive() / "a", "");
    SetDosAttrib(drive() / "a", std::string("0x22\0binary tail", 16));
    EXPECT_EQ(files_.GetFileAttributesA("E:\\a"), 0x22u);
    SetDosAttrib(drive() / "a", "garbage");
    EXPECT_EQ(files_.GetFileAttributesA("E:\\a"), kNormal);
    fs::create_directory(drive() / "d");
    SetDosAttrib(drive() / "d", "0x12");
    EXPECT_EQ(files_.GetFileAttributesA("E:\\d"), kDirectory | kHidden);
}

TEST_F(HostedFileSystemTest, HiddenIsRefusedWhereTheHostKeepsNoExtendedAttributes) {
    ASSERT_TRUE(drives_.MapFile("/proc/self/comm", "/proc/self/comm"));
    ExpectFailure(files_.SetFileAttributesA("/proc/self/comm", kHidden), win::kErrorNotSupported);
    EXPECT_TRUE(files_.SetFileAttributesA("/proc/self/comm", kNormal));
}

TEST_F(HostedFileSystemTest, LinksAreReparsePointsWhoseTargetsAreNeverChanged) {
    WriteFile(outside() / "target.txt", "outside");
    fs::create_symlink(outside() / "target.txt", drive() / "file.lnk");
    fs::create_directory_symlink(outside(), drive() / "folder.lnk");
    EXPECT_EQ(files_.GetFileAttributesA("E:\\file.lnk"), win::kFileAttributeReparsePoint);
    EXPECT_EQ(files_.GetFileAttributesA("E:\\folder.lnk"),
              win::kFileAttributeReparsePoint | kDirectory);
    EXPECT_TRUE(files_.PathIsDirectoryA("E:\\folder.lnk"));

    ExpectFailure(files_.SetFileAttributesA("E:\\file.lnk", kReadonly | kHidden),
                  win::kErrorAccessDenied);
    EXPECT_EQ(DosAttrib(outside() / "target.txt"), "none");
    EXPECT_NE(fs::status(outside() / "target.txt").permissions() & fs::perms::owner_write,
              fs::perms::none);

    EXPECT_TRUE(files_.DeleteFileA("E:\\file.lnk"));
    EXPECT_TRUE(fs::exists(outside() / "target.txt"));
}

TEST_F(HostedFileSystemTest, CreatesAndRemovesFoldersAsWindowsDoes) {
    EXPECT_TRUE(files_.CreateDirectoryA("E:\\Help"));
    EXPECT_TRUE(files_.PathIsDirectoryA("E:\\HELP"));
    ExpectFailure(files_.CreateDirectoryA("E:\\help"), win::kErrorAlreadyExists);
    ExpectFailure(files_.CreateDirectoryA("E:\\a\\b"), win::kErrorPathNotFound);

    WriteFile(drive() / "Help" / "x.txt", "x");
    ExpectFailure(files_.RemoveDirectoryA("E:\\Help"), win::kErrorDirNotEmpty);
    ExpectFailure(files_.RemoveDirectoryA("E:\\Help\\x.txt"), win::kErrorDirectory);
    ExpectFailure(files_.RemoveDirectoryA("E:\\"), win::kErrorAccessDenied);
    ExpectFailure(files_.RemoveDirectoryA("E:\\Gone"), win::kErrorFileNotFound);

    fs::remove(drive() / "Help" / "x.txt");
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Help", kReadonly | kDirectory));
    ExpectFailure(files_.RemoveDirectoryA("E:\\Help"), win::kErrorAccessDenied);
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Help", kNormal));
    EXPECT_TRUE(files_.RemoveDirectoryA("E:\\Help"));
    EXPECT_FALSE(files_.PathFileExistsA("E:\\Help"));
}

TEST_F(HostedFileSystemTest, RemovingALinkedFolderRemovesTheLinkOnly) {
    fs::create_directory(drive() / "Real");
    WriteFile(drive() / "Real" / "keep.txt", "keep");
    fs::create_directory_symlink(drive() / "Real", drive() / "Junction");
    EXPECT_TRUE(files_.RemoveDirectoryA("E:\\Junction"));
    EXPECT_FALSE(fs::is_symlink(drive() / "Junction"));
    EXPECT_TRUE(fs::exists(drive() / "Real" / "keep.txt"));
}

}  // namespace
}  // namespace hosted_test
