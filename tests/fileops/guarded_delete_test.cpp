// Guarded deletion of each kind of entry on a drive E: with a read-only tree with links out: what
// it returns, the attributes it leaves the entry with, the boxes shown; nothing else changes or
// stays open, with no call failing or with each failing in turn.
#include <gtest/gtest.h>

#include "fileops/guarded_delete.h"
#include "platform/hosted/error_text.h"
#include "testbed/sweep.h"

namespace fileops {
namespace {

using testbed::Call;
using Strings = std::vector<std::string>;
constexpr std::uint32_t kDir = win::kFileAttributeDirectory, kRo = win::kFileAttributeReadonly;
constexpr std::uint32_t kGone = win::kInvalidFileAttributes;

void PlantDrive(testbed::TestMachine& machine) {
    machine.AddDrive('E');
    machine.AddFile("E:\\Stash.hlp", "help");
    machine.AddFile("E:\\ro.txt", "r", kRo);
    machine.AddFolder("E:\\Empty");
    machine.AddFile("E:\\Data\\a.txt", "a", kRo | win::kFileAttributeHidden);
    machine.AddFile("E:\\Data\\Sub\\Deeper\\b.txt", "b", kRo);
    machine.AddFolder("E:\\Data\\Sub", kDir | kRo);
    machine.AddFolderLink("E:\\Data\\Link", "E:\\Keep");
    machine.AddFolderLink("E:\\Data\\Dangling", "E:\\Gone");
    machine.AddFolder("E:\\Data", kDir | kRo);
    machine.AddFile("E:\\Database.txt", "a neighbour");
    machine.AddFile("E:\\Keep\\precious.txt", "mine");
    machine.AddFolderLink("E:\\Link", "E:\\Keep");
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

struct Case {
    std::string path;
    int skipReadOnlyPrompt, result;
    std::uint32_t after;  // the attributes of path afterwards
    Strings boxes = {};
    int answer = win::kIdYes;
    Call failing = Call::kCount;  // every call of this kind fails (kCount: none)
};

TEST(GuardedDelete, EachEntryReturnsLeavesAndShows) {
    // clang-format off
    const Case kCases[] = {
        {"E:\\Stash.hlp", 0, 1, kGone},
        {"E:\\ro.txt", 0, 1, kRo, {ReadOnly("File: E:\\ro.txt")}, win::kIdNo},
        {"E:\\ro.txt", 0, 1, kGone, {ReadOnly("File: E:\\ro.txt")}, win::kIdOk},  // all but No is Yes
        {"E:\\Empty", 0, 1, kGone},
        // Read-only entries inside go unasked; a link goes, not what it leads to.
        {"E:\\Data", 0, 1, kGone, {ReadOnly("Directory: E:\\Data"), NotEmpty("E:\\Data")}},
        {"E:\\Link\\", 0, 1, kGone, {NotEmpty("E:\\Link\\")}},
        {"E:\\Data", 0, 1, kDir | kRo, {ReadOnly("Directory: E:\\Data")}, win::kIdNo},
        // The attribute cleared before the second question stays cleared.
        {"E:\\Data", 1, 1, kDir, {NotEmpty("E:\\Data")}, win::kIdNo},
        // Each failure is reported with the reason of the call that failed.
        {"E:\\Nothing", 0, 0, kGone, {"Unable to find : E:\\Nothing\r\nSystem Message: " +
                                        hosted::SystemMessageText(win::kErrorFileNotFound)}},
        {"E:\\Stash.hlp", 0, 0, win::kFileAttributeNormal,
         {Quote("Unable to delete File: E:\\Stash.hlp ")}, win::kIdYes, Call::DeleteFile},
        {"E:\\Empty", 0, 0, kDir, {Quote("Unable to delete directory: E:\\Empty "),
         "Unable to delete Directory: E:\\Empty \r\n"}, win::kIdYes, Call::RemoveDirectory},
        // Unsearchable, a folder counts as empty, then cannot be emptied; taken
        // for a file, it is refused.
        {"E:\\Data", 1, 0, kDir, {"Unable to delete Directory: E:\\Data \r\n"}, win::kIdYes,
         Call::FindFile},
        {"E:\\Data\\Sub\\Deeper", 0, 0, kDir, {NotEmpty("E:\\Data\\Sub\\Deeper"),
         Quote("Unable to change attributes of entry: E:\\Data\\Sub\\Deeper\\b.txt to delete"),
         "Unable to delete Directory: E:\\Data\\Sub\\Deeper \r\n"}, win::kIdYes, Call::SetFileAttributes},
        {"E:\\Data", 1, 0, kDir, {Quote("Unable to delete File: E:\\Data ", win::kErrorAccessDenied)},
         win::kIdYes, Call::PathIsDirectory},
    };
    // clang-format on
    for (const Case& c : kCases) {
        SCOPED_TRACE("case " + std::to_string(&c - kCases));
        testbed::TestMachine machine;
        PlantDrive(machine);
        const Strings outside = testbed::EntriesOutside(machine, 'E', c.path);
        machine.ui.defaultAnswer = c.answer;
        machine.faults.FailFrom(c.failing, 1, testbed::kInjected);
        EXPECT_EQ(DeleteFileOrDirectory(machine.os, c.path, c.skipReadOnlyPrompt), c.result);
        EXPECT_EQ(machine.Attributes(c.path), c.after);
        EXPECT_EQ(machine.ui.Texts(), c.boxes);
        EXPECT_EQ(testbed::EntriesOutside(machine, 'E', c.path), outside);
        testbed::ExpectNothingLeftOpen(machine);
    }
}

// The tree is gone without a report, or it is there and an error box says so.
TEST(GuardedDelete, ATreeWithALinkOutOfItWithEachCallFailingInTurn) {
    testbed::SweepFailurePoints("deletion of a folder tree", [&](int nth) {
        testbed::TestMachine machine;
        PlantDrive(machine);
        const Strings outside = testbed::EntriesOutside(machine, 'E', "E:\\Data");
        testbed::ArmNthCall(machine, nth);
        const int result = DeleteFileOrDirectory(machine.os, "E:\\Data", 0);
        const std::string injected = machine.faults.Injected();
        testbed::ExpectNothingLeftOpen(machine);
        testbed::ExpectReasonsAreFailures(machine);
        EXPECT_EQ(testbed::EntriesOutside(machine, 'E', "E:\\Data"), outside) << injected;
        EXPECT_EQ(machine.Exists("E:\\Data"), result == 0) << injected;
        EXPECT_EQ(machine.ui.shown.back().type == (win::kMbOk | win::kMbIconHand), result == 0)
            << injected << ": a failure is reported last, and only a failure";
        return testbed::FaultMet(machine);
    });
}

}  // namespace
}  // namespace fileops
