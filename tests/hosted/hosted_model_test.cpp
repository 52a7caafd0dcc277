// The hosted machine on real folders under /tmp: the platform contract (its registry the
// file that tests/wine/probe.sh imports under Wine), and what only this machine does: its
// drive map confines every path to the mapped folders; it keeps Windows facts in host terms.
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

#include "contract.h"
#include "platform/hosted/codepage_1252.h"
#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/hosted_system.h"
#include "platform/hosted/reg_file.h"

namespace hosted_test {
namespace {

namespace fs = std::filesystem;

// A fresh host folder mapped as drive E:, beside a folder outside every
// drive, removed when the test ends.
class HostedModel : public ::testing::Test, public contract::Checks {
  protected:
    HostedModel() {
        std::string pattern = (fs::temp_directory_path() / "stashwell-hosted-XXXXXX").string();
        EXPECT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
        top_ = pattern;
        fs::create_directory(drive());
        fs::create_directory(outside());
        drives_.Map('E', drive());
    }
    ~HostedModel() override { fs::remove_all(top_); }
    fs::path drive() const { return top_ / "drive"; }
    fs::path outside() const { return top_ / "outside"; }
    static void WriteFile(const fs::path& path) { std::ofstream(path) << "x"; }
    void Report(bool passed, const char* file, int line, const std::string& what) override {
        EXPECT_TRUE(passed) << file << ":" << line << ": " << what;
    }
    // The host path below the test's folder ("drive" for E:\), or the error.
    std::string Resolve(const std::string& path, hosted::LastLink last = hosted::LastLink::Follow) {
        hosted::HostPath host;
        const auto error = drives_.Resolve(path, last, host);
        return error != 0 ? "error " + std::to_string(error)
                          : fs::path(host.path).lexically_relative(top_).string() +
                                (host.isDriveRoot ? " root" : "");
    }
    static std::string DosAttrib(const fs::path& path) {
        char text[16];
        const ssize_t size = getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text);
        return size < 0 ? "none" : std::string(text, static_cast<std::size_t>(size));
    }

    fs::path top_;
    hosted::DriveMap drives_;
    hosted::LastError lastError_;
    hosted::HostedFileSystem files_{drives_, lastError_};
    hosted::HostedSystem system_{drives_, lastError_};
};

// One part after another on one machine, each leaving it as it found it.
TEST_F(HostedModel, ContractOnFilesFolderSearchRegistryAndSystem) {
    hosted::MemoryRegistry registry;
    std::string error;
    ASSERT_TRUE(hosted::LoadRegFile(CONTRACT_MACHINE_REG, registry, error)) << error;
    const contract::Fixture fixture{'E', win::kVerPlatformWin32Nt, "C:\\Setup", true};
    drives_.MapFile(system_.facts().modulePath, system_.facts().modulePath);
    system_.facts().currentDirectory = fixture.currentDirectory;
    contract::Seam seam{files_, registry, system_};
    for (const auto check : {contract::CheckFiles, contract::CheckFolderSearch,
                             contract::CheckRegistry, contract::CheckSystem}) {
        check(*this, seam, fixture);
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(HostedModel, PathsResolveInsideTheMappedFoldersOnly) {
    fs::create_directories(drive() / "Help");
    for (const fs::path& file :
         {drive() / "Help" / "A.HLP", drive() / "Help" / "a.hlp", outside() / "Setup"}) {
        WriteFile(file);
    }
    fs::create_directory_symlink(outside(), drive() / "escape");
    fs::create_directory_symlink("../outside", drive() / "relative");
    fs::create_symlink(outside() / "Setup", drive() / "setup.lnk");
    fs::create_directory_symlink(drive() / "Help", drive() / "alias");
    fs::create_directory_symlink(drive() / "nowhere", drive() / "dangling");
    ASSERT_TRUE(drives_.MapFile("/host/Setup", outside() / "Setup"));
    EXPECT_FALSE(drives_.MapFile("/host/Folder", outside()));
    // Each line of the file: a path, a tab and what it resolves to.
    std::ifstream cases(RESOLVED_PATHS);
    int count = 0;
    for (std::string line; std::getline(cases, line); ++count) {
        const std::size_t tab = line.find('\t');
        EXPECT_EQ(Resolve(line.substr(0, tab)), line.substr(tab + 1)) << line;
    }
    EXPECT_EQ(count, 28);
    EXPECT_EQ(Resolve("E:\\escape", hosted::LastLink::Keep), "drive/escape");
    EXPECT_EQ(Resolve("") + Resolve("\x01:\\x") + Resolve("E:\\tab\t"),
              "error 3error 123error 123");
    EXPECT_TRUE(drives_.Map('g', outside()));
    EXPECT_FALSE(drives_.Map('H', outside() / "missing") || drives_.Map('1', outside()));
    drives_.Unmap('e');
    EXPECT_EQ(system_.GetLogicalDrives(), (1u << 6) | (1u << 2));
}

TEST_F(HostedModel, FolderIsListedAgainOnlyWhenChangedByOthers) {
    for (int i = 0; i < 100; ++i) {
        files_.Close(files_.CreateExclusive("E:\\Module" + std::to_string(i) + ".dat"));
    }
    files_.DeleteFileA("E:\\module7.dat");
    EXPECT_EQ(Resolve("E:\\MODULE8.DAT") + Resolve("E:\\MODULE7.DAT"),
              "drive/Module8.datdrive/MODULE7.DAT");
    EXPECT_EQ(drives_.FolderListings(), 1u);
    WriteFile(drive() / "Other.TXT");
    fs::last_write_time(drive(), fs::last_write_time(drive()) + std::chrono::seconds(1));
    EXPECT_EQ(Resolve("E:\\other.txt"), "drive/Other.TXT");
    EXPECT_EQ(drives_.FolderListings(), 2u);
}

TEST_F(HostedModel, KeepsWindowsFactsInHostTerms) {
    const auto find = files_.NewFileFind();
    const auto outcome = [this](bool succeeded) { return contract::Outcome(system_, succeeded); };
    EXPECT_EQ(outcome(find->FindFile("E:\\*.*")), "error 2");  // an empty root: no dots
    WriteFile(drive() / "f");
    fs::create_symlink(drive() / "f", drive() / "f.lnk");
    fs::create_directory(drive() / "Locked");
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\Locked", 0x11) &&
                drives_.MapFile("/proc/self/comm", "/proc/self/comm"));
    system_.facts().modulePath = "E:\\Setup\\Stashwell.exe";
    char cut[10] = "#########";
    const std::vector<std::string> seen{
        outcome(files_.SetFileAttributesA("E:\\f", 0x27)),
        DosAttrib(drive() / "f"),                              // read-only lives in the permissions
        outcome(files_.SetFileAttributesA("E:\\f.lnk", 0x2)),  // a link's target stays as it is
        outcome(files_.GetFileAttributesA("E:\\f.lnk") == 0x400u),
        outcome(files_.RemoveDirectoryA("E:\\")),
        outcome(files_.RemoveDirectoryA("E:\\locked")),
        outcome(files_.SetFileAttributesA("/proc/self/comm", 0x2)),
        outcome(find->FindFile("E:\\Locked\\*.txt")),
        outcome(find->FindFile("E:\\*.*") && find->FindNextFile() && !find->IsDots()),
        std::to_string(system_.GetModuleFileNameA(cut, 9)),
        std::string(cut, 10)};
    EXPECT_EQ(seen, (std::vector<std::string>{"ok", "0x26", "error 5", "ok", "error 5", "error 5",
                                              "error 50", "error 87", "ok", "9",
                                              std::string("E:\\Setup\0\0", 10)}));
}

TEST(HostedText, ErrnoCodesMessagesAndWindows1252) {
    std::string codes;
    for (const int error : {EROFS, ENOSPC, EMFILE, ENAMETOOLONG, EIO, ELOOP}) {
        codes += std::to_string(hosted::WinErrorFromErrno(error, true)) + " ";
    }
    EXPECT_EQ(codes, "19 112 4 206 31 1921 ");
    EXPECT_EQ(hosted::SystemMessageText(2), "The system cannot find the file specified.\r\n");
    for (int value = 0; value < 256; ++value) {
        EXPECT_EQ(hosted::ToWindows1252(hosted::FromWindows1252(char(value))), char(value));
    }
}

}  // namespace
}  // namespace hosted_test
