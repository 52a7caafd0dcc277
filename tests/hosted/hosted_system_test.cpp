#include "platform/hosted/hosted_system.h"

#include <gtest/gtest.h>

#include <cstring>

#include "hosted_machine.h"
#include "platform/win_constants.h"

namespace hosted_test {
namespace {

using hosted::CurrentDirectoryMode;

class HostedSystemTest : public HostedMachine {
  protected:
    hosted::HostedSystem system_{drives_, lastError_};
};

TEST_F(HostedSystemTest, ReportsTheConfiguredPlatformOrFails) {
    std::uint32_t id = 99;
    EXPECT_TRUE(system_.GetVersionExA(id));
    EXPECT_EQ(id, win::kVerPlatformWin32Nt);
    system_.facts().platformId = win::kVerPlatformWin32Windows;
    EXPECT_TRUE(system_.GetVersionExA(id));
    EXPECT_EQ(id, win::kVerPlatformWin32Windows);
    system_.facts().platformId.reset();
    id = 99;
    EXPECT_FALSE(system_.GetVersionExA(id));
    EXPECT_EQ(id, 99u);
}

TEST_F(HostedSystemTest, CurrentDirectoryAnswersInItsThreeModes) {
    system_.facts().currentDirectory = "E:\\Setup";
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(system_.GetCurrentDirectoryA(0, nullptr), 9u);
    EXPECT_EQ(system_.GetCurrentDirectoryA(8, buffer), 9u);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(system_.GetCurrentDirectoryA(9, buffer), 8u);
    EXPECT_STREQ(buffer, "E:\\Setup");

    system_.facts().currentDirectoryMode = CurrentDirectoryMode::SizeOnly;
    system_.facts().currentDirectoryError = win::kErrorNotReady;
    EXPECT_EQ(system_.GetCurrentDirectoryA(0, nullptr), 9u);
    EXPECT_EQ(system_.GetCurrentDirectoryA(9, buffer), 0u);
    EXPECT_EQ(system_.GetLastError(), win::kErrorNotReady);

    system_.facts().currentDirectoryMode = CurrentDirectoryMode::Failing;
    system_.SetLastError(0);
    EXPECT_EQ(system_.GetCurrentDirectoryA(0, nullptr), 0u);
    EXPECT_EQ(system_.GetLastError(), win::kErrorNotReady);
}

TEST_F(HostedSystemTest, ModuleFileNameIsCutAndTerminatedWhenItDoesNotFit) {
    EXPECT_EQ(system_.facts().modulePath, fs::read_symlink("/proc/self/exe"));
    char buffer[32];

    system_.facts().modulePath = "E:\\Setup\\Stashwell.exe";
    EXPECT_EQ(system_.GetModuleFileNameA(buffer, sizeof buffer), 22u);
    EXPECT_STREQ(buffer, "E:\\Setup\\Stashwell.exe");
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(system_.GetModuleFileNameA(buffer, 9), 9u);
    EXPECT_STREQ(buffer, "E:\\Setup");
    EXPECT_EQ(buffer[9], '#');

    system_.facts().modulePath.clear();
    EXPECT_EQ(system_.GetModuleFileNameA(buffer, sizeof buffer), 0u);
    EXPECT_NE(system_.GetLastError(), 0u);
}

TEST_F(HostedSystemTest, LogicalDrivesAreTheMappedLettersAndC) {
    EXPECT_EQ(system_.GetLogicalDrives(), (1u << 2) | (1u << 4));
    drives_.Unmap('E');
    EXPECT_EQ(system_.GetLogicalDrives(), 1u << 2);
}

TEST_F(HostedSystemTest, WideCharsWithoutAnAnsiFormBecomeQuestionMarks) {
    const std::uint16_t text[] = {'A', 0x20AC, 0x00E9, 0x0100, 0x4E2D, 0xD83D, 0x0081, 0x0080, 0};
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(system_.WideCharToMultiByte(text, 8, buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(buffer, 8), "A\x80\xE9???\x81?");
    EXPECT_EQ(buffer[8], '#');

    EXPECT_EQ(system_.WideCharToMultiByte(text, -1, nullptr, 0), 9);
    EXPECT_EQ(system_.WideCharToMultiByte(text, -1, buffer, sizeof buffer), 9);
    EXPECT_EQ(buffer[8], '\0');
    EXPECT_EQ(system_.WideCharToMultiByte(text, 8, buffer, 4), 0);
    EXPECT_EQ(system_.GetLastError(), win::kErrorInsufficientBuffer);
    EXPECT_EQ(system_.WideCharToMultiByte(text, 0, buffer, 4), 0);
    EXPECT_EQ(system_.GetLastError(), win::kErrorInvalidParameter);
}

TEST_F(HostedSystemTest, FileFailuresAreTheSystemsLastErrorOnThatMachineOnly) {
    hosted::LastError otherError;
    hosted::HostedSystem other(drives_, otherError);
    EXPECT_EQ(files_.OpenRead("E:\\missing.dat"), -1);
    EXPECT_EQ(system_.GetLastError(), win::kErrorFileNotFound);
    EXPECT_EQ(system_.FormatMessageA(system_.GetLastError()),
              "The system cannot find the file specified.\r\n");
    EXPECT_EQ(other.GetLastError(), win::kErrorSuccess);
    EXPECT_EQ(other.FormatMessageA(0xDEAD), "");
}

}  // namespace
}  // namespace hosted_test
