#include "doubles/fake_machine.h"

#include <gtest/gtest.h>

namespace doubles {
namespace {

TEST(FakeSystemTest, CurrentDirectoryIsSizedThenCopied) {
    FakeMachine machine;
    machine.system.currentDirectory = "C:\\Setup";
    EXPECT_EQ(machine.system.GetCurrentDirectoryA(0, nullptr), 9u);
    char buffer[9];
    EXPECT_EQ(machine.system.GetCurrentDirectoryA(8, buffer), 9u);
    EXPECT_EQ(machine.system.GetCurrentDirectoryA(9, buffer), 8u);
    EXPECT_STREQ(buffer, "C:\\Setup");
    machine.system.currentDirectoryUnreadable = true;
    EXPECT_EQ(machine.system.GetCurrentDirectoryA(0, nullptr), 9u);
    EXPECT_EQ(machine.system.GetCurrentDirectoryA(9, buffer), 0u);
    EXPECT_NE(machine.system.GetLastError(), 0u);
}

TEST(FakeSystemTest, ModuleFileNameIsCutAndTerminated) {
    FakeMachine machine;
    char buffer[6];
    EXPECT_EQ(machine.system.GetModuleFileNameA(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "C:\\Se");
    machine.faults.FailNth(Call::GetModuleFileName, 2, win::kErrorNotEnoughMemory);
    EXPECT_EQ(machine.system.GetModuleFileNameA(buffer, sizeof buffer), 0u);
    EXPECT_EQ(machine.system.GetLastError(), win::kErrorNotEnoughMemory);
}

TEST(FakeSystemTest, FileFailuresShowInTheSystemsLastError) {
    FakeMachine machine;
    EXPECT_FALSE(machine.files.DeleteFileA("C:\\missing"));
    EXPECT_EQ(machine.system.FormatMessageA(machine.system.GetLastError()),
              "The system cannot find the file specified.\r\n");
    EXPECT_EQ(machine.system.FormatMessageA(0xDEAD), "");
}

TEST(FakeSystemTest, WideTextConvertsWithinTheRoomGiven) {
    FakeMachine machine;
    const std::uint16_t text[] = {'A', 0xE9, 0x4E2D, 0};
    char out[4] = {};
    EXPECT_EQ(machine.system.WideCharToMultiByte(text, 3, out, 4), 3);
    EXPECT_EQ(std::string(out, 3), "A\xE9?");
    EXPECT_EQ(machine.system.WideCharToMultiByte(text, 3, out, 2), 0);
    EXPECT_EQ(machine.system.GetLastError(), win::kErrorInsufficientBuffer);
}

TEST(ScriptedUiTest, AnswersQuestionsFromTheScriptOnly) {
    ScriptedUi ui;
    ui.answers = {win::kIdNo};
    EXPECT_EQ(ui.AfxMessageBox("ok?", win::kMbOk), win::kIdOk);
    EXPECT_EQ(ui.AfxMessageBox("q1", win::kMbYesNo | win::kMbIconQuestion), win::kIdNo);
    EXPECT_EQ(ui.MessageBoxA("q2", "Cap", win::kMbYesNo), win::kIdYes);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"ok?", "q1", "q2"}));
    EXPECT_EQ(ui.shown[2], (ShownBox{"q2", "Cap", win::kMbYesNo}));
}

}  // namespace
}  // namespace doubles
