// Guarded deletion of each kind of entry: what it returns, the attributes it
// leaves the entry with, the boxes shown; nothing else changes or stays open.
#include <gtest/gtest.h>

#include "fileops/guarded_delete.h"
#include "planted_drive.h"
#include "platform/hosted/error_text.h"
#include "testbed/sweep.h"

namespace fileops {
namespace {

using testbed::Call;
using Strings = std::vector<std::string>;
constexpr std::uint32_t kDir = win::kFileAttributeDirectory;
constexpr std::uint32_t kGone = win::kInvalidFileAttributes;

struct Case {
    const char* name;
    std::string path;
    int skipReadOnlyPrompt;
    int result;
    std::uint32_t after;  // the attributes of path afterwards
    Strings boxes = {};
    int answer = win::kIdYes;
    Call failing = Call::kCount;  // every call of this kind fails (kCount: none)
};

class GuardedDelete : public ::testing::TestWithParam<Case> {};

TEST_P(GuardedDelete, ReturnsLeavesAndShows) {
    const Case& c = GetParam();
    testbed::TestMachine machine;
    fileops_test::PlantDrive(machine);
    const Strings outside = testbed::EntriesOutside(machine, 'E', c.path);
    machine.ui.defaultAnswer = c.answer;
    machine.faults.FailFrom(c.failing, 1, testbed::kInjected);
    EXPECT_EQ(DeleteFileOrDirectory(machine.os, c.path, c.skipReadOnlyPrompt), c.result);
    EXPECT_EQ(machine.Attributes(c.path), c.after);
    EXPECT_EQ(machine.ui.Texts(), c.boxes);
    EXPECT_EQ(testbed::EntriesOutside(machine, 'E', c.path), outside);
    testbed::ExpectNothingLeftOpen(machine);
}

std::string Quote(const std::string& text, std::uint32_t code = testbed::kInjected) {
    return text + "\r\nError Message: " + hosted::SystemMessageText(code);
}
std::string ReadOnly(const std::string& entry) {
    return "The " + entry + " is read-only.\r\nDelete it anyway?";
}
std::string NotEmpty(const std::string& folder) {
    return "Directory: " + folder + " is not Empty.\r\nDelete Everything?";
}
const std::string kFile = ReadOnly("File: E:\\ro.txt");
const std::string kNotRemoved = "Unable to delete Directory: E:\\Data \r\n";

INSTANTIATE_TEST_SUITE_P(
    EachEntry, GuardedDelete,
    ::testing::Values(
        Case("FileGoesUnasked", "E:\\Stash.hlp", 0, 1, kGone),
        Case("ReadOnlyStaysOnNo", "E:\\ro.txt", 0, 1, win::kFileAttributeReadonly, {kFile},
             win::kIdNo),
        Case("AllButNoIsYes", "E:\\ro.txt", 0, 1, kGone, {kFile}, win::kIdOk),
        Case("EmptyGoesUnasked", "E:\\Empty", 0, 1, kGone),
        // Read-only entries inside go unasked; a link goes, not what it leads to.
        Case("Tree", "E:\\Data", 0, 1, kGone,
             {ReadOnly("Directory: E:\\Data"), NotEmpty("E:\\Data")}),
        Case("LinkGoesItself", "E:\\Link\\", 0, 1, kGone, {NotEmpty("E:\\Link\\")}),
        Case("ReadOnlyFolderStaysOnNo", "E:\\Data", 0, 1, kDir | win::kFileAttributeReadonly,
             {ReadOnly("Directory: E:\\Data")}, win::kIdNo),
        // The attribute cleared before the second question stays cleared.
        Case("FullStaysOnNo", "E:\\Data", 1, 1, kDir, {NotEmpty("E:\\Data")}, win::kIdNo),
        // Each failure is reported with the reason of the call that failed.
        Case("Missing", "E:\\Nothing", 0, 0, kGone,
             {"Unable to find : E:\\Nothing\r\nSystem Message: " +
              hosted::SystemMessageText(win::kErrorFileNotFound)}),
        Case("NoDelete", "E:\\Stash.hlp", 0, 0, win::kFileAttributeNormal,
             {Quote("Unable to delete File: E:\\Stash.hlp ")}, win::kIdYes, Call::DeleteFile),
        // Unsearchable, a folder counts as empty, then cannot be emptied; taken
        // for a file, it is refused.
        Case("NoSearch", "E:\\Data", 1, 0, kDir, {kNotRemoved}, win::kIdYes, Call::FindFile),
        Case("NoClearInside", "E:\\Data\\Sub\\Deeper", 0, 0, kDir,
             {NotEmpty("E:\\Data\\Sub\\Deeper"),
              Quote("Unable to change attributes of entry: E:\\Data\\Sub\\Deeper\\b.txt to delete"),
              "Unable to delete Directory: E:\\Data\\Sub\\Deeper \r\n"},
             win::kIdYes, Call::SetFileAttributes),
        Case("NoKind", "E:\\Data", 1, 0, kDir,
             {Quote("Unable to delete File: E:\\Data ", win::kErrorAccessDenied)}, win::kIdYes,
             Call::PathIsDirectory)),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fileops
