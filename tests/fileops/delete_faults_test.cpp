// Each platform call that the deletion makes, made to fail: the boxes shown,
// their order and reasons, and the result.
#include <gtest/gtest.h>

#include "deletion_fixture.h"

namespace fileops {
namespace {

using doubles::Call;
using Strings = std::vector<std::string>;

constexpr std::uint32_t kInjected = win::kErrorGenFailure;
const std::string kOuterBox = "Unable to delete Directory: E:\\F \r\n";

struct Fault {
    const char* name;
    Call call;
    int nth;
    int result;
    Strings boxes;
};

std::ostream& operator<<(std::ostream& out, const Fault& fault) {
    return out << fault.name;
}

class TreeFaultTest : public DeletionTest, public ::testing::WithParamInterface<Fault> {
  protected:
    // E:\F holds a read-only a.txt and Sub\b.txt; the folder question is
    // answered Yes.
    TreeFaultTest() {
        files.AddFile("E:\\F\\a.txt", "a", win::kFileAttributeReadonly);
        files.AddFile("E:\\F\\Sub\\b.txt", "b");
    }
};

TEST_P(TreeFaultTest, ReportsWhatFailedAndStops) {
    const Fault& fault = GetParam();
    machine.faults.FailNth(fault.call, fault.nth, kInjected);
    const int result = Delete("E:\\F", 1);
    ASSERT_FALSE(machine.faults.Injected().empty()) << "the fault was never reached";
    EXPECT_EQ(result, fault.result);
    if (fault.result == 1) {
        EXPECT_FALSE(files.Exists("E:\\F"));
    } else {
        EXPECT_TRUE(files.Exists("E:\\F"));
    }
    // After the emptiness test the only question is the one about the folder.
    Strings errors;
    for (const auto& box : machine.ui.shown) {
        if (box.type == kErrorBox) {
            errors.push_back(box.text);
        }
    }
    EXPECT_EQ(errors, fault.boxes);
}

const std::string kDevice = hosted::SystemMessageText(kInjected);

INSTANTIATE_TEST_SUITE_P(
    EachCall, TreeFaultTest,
    ::testing::Values(
        Fault{"PathFileExists",
              Call::PathFileExists,
              1,
              0,
              {"Unable to find : E:\\F\r\nSystem Message: " + kDevice}},
        Fault{"GetFileAttributesOfTheFolder",
              Call::GetFileAttributes,
              1,
              0,
              {"Unable to get attributes of Directory: E:\\F \r\nError Message: " + kDevice}},
        // Taken for a file, the folder is refused by DeleteFileA.
        Fault{"PathIsDirectoryOfTheFolder",
              Call::PathIsDirectory,
              1,
              0,
              {"Unable to delete File: E:\\F \r\nError Message: " +
               hosted::SystemMessageText(win::kErrorAccessDenied)}},
        // The emptiness test cannot search: no question, and the walk succeeds.
        Fault{"FindFileOfTheEmptinessTest", Call::FindFile, 1, 1, {}},
        Fault{"PathIsDirectoryInTheWalk", Call::PathIsDirectory, 2, 0, {kOuterBox}},
        Fault{"GetFileAttributesInTheWalk", Call::GetFileAttributes, 2, 0, {kOuterBox}},
        Fault{"FindFileInTheWalk", Call::FindFile, 2, 0, {kOuterBox}},
        Fault{"GetFileAttributesOfAFile",
              Call::GetFileAttributes,
              3,
              0,
              {"Unable to get attributes of file: E:\\F\\a.txt \r\nError Message: " + kDevice,
               kOuterBox}},
        Fault{"SetFileAttributesOfAFile",
              Call::SetFileAttributes,
              1,
              0,
              {"Unable to change attributes of entry: E:\\F\\a.txt to delete\r\nError Message: " +
                   kDevice,
               kOuterBox}},
        // A file that DeleteFileA refuses shows only the outer box.
        Fault{"DeleteFile", Call::DeleteFile, 2, 0, {kOuterBox}},
        Fault{"FindFileOfASubfolder", Call::FindFile, 3, 0, {kOuterBox}},
        Fault{"RemoveDirectoryOfASubfolder",
              Call::RemoveDirectory,
              1,
              0,
              {"Unable to delete directory: E:\\F\\Sub \r\nError Message: " + kDevice, kOuterBox}},
        Fault{"RemoveDirectoryOfTheFolder",
              Call::RemoveDirectory,
              2,
              0,
              {"Unable to delete directory: E:\\F \r\nError Message: " + kDevice, kOuterBox}},
        // The search ends early on a.txt, so Sub is left and the folder is not
        // empty: the reason is the removal's own, not the search's.
        Fault{"FindNextFileInTheWalk",
              Call::FindNextFile,
              6,
              0,
              {"Unable to delete directory: E:\\F \r\nError Message: " +
                   hosted::SystemMessageText(win::kErrorDirNotEmpty),
               kOuterBox}}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

TEST_F(DeletionTest, FailuresOnAFileQuoteTheFailingCall) {
    files.AddFile("E:\\ro.txt", "", win::kFileAttributeReadonly);
    files.AddFile("E:\\f.txt", "");
    machine.faults.FailNth(Call::SetFileAttributes, 1, win::kErrorWriteProtect);
    machine.faults.FailNth(Call::DeleteFile, 1, win::kErrorSharingViolation);
    machine.faults.FailNth(Call::DeleteFile, 2, 0xDEAD);  // a code without a text
    EXPECT_EQ(Delete("E:\\ro.txt", 1), 0);
    EXPECT_EQ(Delete("E:\\f.txt"), 0);
    EXPECT_EQ(Delete("E:\\f.txt"), 0);
    EXPECT_EQ(Texts(),
              (Strings{"Unable to change attributes of File: E:\\ro.txt to delete\r\nError "
                       "Message: " +
                           Message(win::kErrorWriteProtect),
                       "Unable to delete File: E:\\f.txt \r\nError Message: " +
                           Message(win::kErrorSharingViolation),
                       "Unable to delete File: E:\\f.txt \r\nError Message: "}));
    EXPECT_EQ(Types(), (std::vector<unsigned>{kErrorBox, kErrorBox, kErrorBox}));
    EXPECT_EQ(files.Attributes("E:\\ro.txt"), win::kFileAttributeReadonly);
}

// Every call of a whole deletion in turn, each in a fresh machine: whatever
// fails, nothing stays open, the cursor is balanced, a failure is reported in
// an error box, and success means the tree is gone.
TEST(DeletionSweepTest, EveryCallMayFail) {
    auto build = [](doubles::FakeMachine& machine) {
        machine.files.AddDrive('E');
        machine.files.AddFolder("E:\\F",
                                win::kFileAttributeDirectory | win::kFileAttributeReadonly);
        machine.files.AddFile("E:\\F\\a.txt", "a", win::kFileAttributeReadonly);
        machine.files.AddFile("E:\\F\\Sub\\b.txt", "b");
        machine.files.AddFile("E:\\Keep\\k.txt", "k");
        machine.files.AddFolderLink("E:\\F\\Sub\\Link", "E:\\Keep");
    };
    doubles::FakeMachine clean;
    build(clean);
    ASSERT_EQ(DeleteFileOrDirectory(clean.os, "E:\\F", 0), 1);
    const int calls = clean.faults.Total();
    ASSERT_GT(calls, 20);

    for (int nth = 1; nth <= calls; ++nth) {
        doubles::FakeMachine machine;
        build(machine);
        machine.faults.FailNthOverall(nth, kInjected);
        const int result = DeleteFileOrDirectory(machine.os, "E:\\F", 0);
        const std::string injected = machine.faults.Injected();
        EXPECT_EQ(machine.files.OpenSearchCount(), 0) << injected;
        EXPECT_EQ(machine.ui.waitCursorDepth, 0) << injected;
        EXPECT_EQ(machine.files.Contents("E:\\Keep\\k.txt"), "k") << injected;
        if (result == 1) {
            EXPECT_FALSE(machine.files.Exists("E:\\F")) << injected;
        } else {
            ASSERT_FALSE(machine.ui.shown.empty()) << injected;
            EXPECT_EQ(machine.ui.shown.back().type, kErrorBox) << injected;
        }
    }
}

}  // namespace
}  // namespace fileops
