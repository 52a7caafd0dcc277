#include "platform/hosted/drive_map.h"

#include <gtest/gtest.h>

#include "hosted_machine.h"
#include "platform/win_constants.h"

namespace hosted_test {
namespace {

class DriveMapTest : public HostedMachine {
  protected:
    // The host path of a Windows path, or the error code as text.
    std::string Resolve(const std::string& path,
                        hosted::LastLink lastLink = hosted::LastLink::Keep) {
        hosted::HostPath host;
        const auto error = drives_.Resolve(path, lastLink, host);
        return error == 0 ? host.path : "error " + std::to_string(error);
    }
    std::string Error(std::uint32_t code) { return "error " + std::to_string(code); }
};

TEST_F(DriveMapTest, FindsExistingNamesWhateverTheirCaseAndKeepsTheCaseOfNewOnes) {
    fs::create_directory(drive() / "HelpFiles");
    WriteFile(drive() / "HelpFiles" / "Stash.HLP", "help");
    EXPECT_EQ(Resolve("e:\\helpfiles\\STASH.hlp"), drive() / "HelpFiles" / "Stash.HLP");
    EXPECT_EQ(Resolve("E:/HELPFILES/New.Txt"), drive() / "HelpFiles" / "New.Txt");
    EXPECT_EQ(Resolve("E:\\Missing\\Deeper.txt"), drive() / "Missing" / "Deeper.txt");

    WriteFile(drive() / "HelpFiles" / "stash.hlp", "host names may differ in case only");
    EXPECT_EQ(Resolve("E:\\HelpFiles\\stash.hlp"), drive() / "HelpFiles" / "stash.hlp");
    EXPECT_EQ(Resolve("E:\\HelpFiles\\STASH.HLP"), drive() / "HelpFiles" / "Stash.HLP");
}

TEST_F(DriveMapTest, FolderIsListedAgainOnlyWhenChangedByOthers) {
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "E:\\Module" + std::to_string(i) + ".dat";
        EXPECT_EQ(Resolve(name), drive() / ("Module" + std::to_string(i) + ".dat"));
        files_.Close(files_.CreateExclusive(name));
        EXPECT_EQ(Resolve("E:\\MODULE" + std::to_string(i) + ".DAT"),
                  drive() / ("Module" + std::to_string(i) + ".dat"));
    }
    files_.DeleteFileA("E:\\module7.dat");
    EXPECT_EQ(Resolve("E:\\MODULE7.DAT"), drive() / "MODULE7.DAT");
    EXPECT_EQ(drives_.FolderListings(), 1u);
    // What another program changes is seen once the folder's time moves.
    WriteFile(drive() / "Other.TXT", "");
    fs::last_write_time(drive(), fs::last_write_time(drive()) + std::chrono::seconds(1));
    EXPECT_EQ(Resolve("E:\\other.txt"), drive() / "Other.TXT");
    EXPECT_EQ(drives_.FolderListings(), 2u);
}

TEST_F(DriveMapTest, DotsAreDroppedAndDotDotStopsAtTheDriveRoot) {
    EXPECT_EQ(Resolve("E:\\..\\..\\x"), drive() / "x");
    EXPECT_EQ(Resolve("E:\\a\\.\\..\\..\\b/./c"), drive() / "b" / "c");
    EXPECT_EQ(Resolve("E:\\a\\\\b\\"), drive() / "a" / "b");

    hosted::HostPath root;
    for (const char* path : {"E:", "E:\\", "E:\\a\\.."}) {
        EXPECT_EQ(drives_.Resolve(path, hosted::LastLink::Keep, root), 0u) << path;
        EXPECT_EQ(root.path, drive()) << path;
        EXPECT_TRUE(root.isDriveRoot) << path;
    }
}

TEST_F(DriveMapTest, RefusesNamesThatWindowsRefuses) {
    for (const std::string name : {"a:b", "a*", "what?", "\"q\"", "<in", "out>", "p|q", "tab\t"}) {
        EXPECT_EQ(Resolve("E:\\dir\\" + name + "\\x"), Error(win::kErrorInvalidName)) << name;
    }
    EXPECT_EQ(Resolve(std::string("E:\\bell\x07")), Error(win::kErrorInvalidName));
}

TEST_F(DriveMapTest, LinksLeadingOutsideTheDriveAreNotFollowed) {
    WriteFile(outside() / "secret.txt", "outside");
    fs::create_directory_symlink(outside(), drive() / "escape");
    fs::create_directory_symlink("../outside", drive() / "relative");
    fs::create_symlink(outside() / "secret.txt", drive() / "secret.lnk");

    const auto denied = Error(win::kErrorAccessDenied);
    EXPECT_EQ(Resolve("E:\\escape\\secret.txt"), denied);
    EXPECT_EQ(Resolve("E:\\Relative\\secret.txt"), denied);
    EXPECT_EQ(Resolve("E:\\escape", hosted::LastLink::Follow), denied);
    EXPECT_EQ(Resolve("E:\\secret.lnk", hosted::LastLink::Follow), denied);
    // Kept as the last name, the link itself is what the path names.
    EXPECT_EQ(Resolve("E:\\escape"), drive() / "escape");
}

TEST_F(DriveMapTest, LinksInsideTheDriveAreFollowed) {
    fs::create_directory(drive() / "Real");
    WriteFile(drive() / "Real" / "File.txt", "inside");
    fs::create_directory_symlink(drive() / "Real", drive() / "alias");
    EXPECT_EQ(Resolve("E:\\ALIAS\\file.txt"), drive() / "Real" / "File.txt");
    fs::create_directory_symlink(drive() / "nowhere", drive() / "dangling");
    EXPECT_EQ(Resolve("E:\\dangling\\x"), Error(win::kErrorPathNotFound));
}

TEST_F(DriveMapTest, OnlyMappedDrivesAndFilesReachTheHost) {
    const auto notFound = Error(win::kErrorPathNotFound);
    const auto invalid = Error(win::kErrorInvalidName);
    WriteFile(outside() / "Setup", "");
    EXPECT_TRUE(drives_.MapFile("/host/Setup", (outside() / "Setup").string()));
    EXPECT_FALSE(drives_.MapFile("/host/Folder", outside().string()));
    const std::pair<const char*, std::string> cases[] = {
        {"F:\\x", notFound},
        {"\\\\server\\share\\x", notFound},
        {"//server/share/x", notFound},
        {"x\\y", notFound},
        {"\\x", notFound},
        {"", notFound},
        {"1:\\x", notFound},
        {"[:\\x", notFound},
        {"/tmp", notFound},
        {"/", notFound},
        {"/proc/self/exe", notFound},
        {"/host/Folder", notFound},
        {"/host/setup", notFound},
        {"/host/Setup/x", notFound},
        {"/:\\BackupStorage", invalid},
        {"\\:\\x", invalid},
        {"?:\\x", invalid},
        {"*:\\x", invalid},
        {"\x01:\\x", invalid},
        {"E:\\a:b", invalid},
        {"/host/Setup", (outside() / "Setup").string()},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(Resolve(path, hosted::LastLink::Follow), expected) << path;
    }
    drives_.Unmap('e');
    EXPECT_EQ(Resolve("E:\\x"), notFound);
    EXPECT_EQ(drives_.MappedLetters(), 0u);
}

TEST_F(DriveMapTest, MapsOnlyLettersToExistingFolders) {
    EXPECT_TRUE(drives_.Map('g', outside()));
    EXPECT_FALSE(drives_.Map('H', outside() / "missing"));
    EXPECT_FALSE(drives_.Map('1', outside()));
    EXPECT_EQ(drives_.MappedLetters(), (1u << 4) | (1u << 6));
    EXPECT_EQ(Resolve("G:\\y"), outside() / "y");
}

}  // namespace
}  // namespace hosted_test
