// The deletion of a folder tree, with each of its platform calls failing in
// turn: the tree is gone and nothing was reported, or the failure is
// reported and nothing but entries of the tree went.
#include <gtest/gtest.h>

#include <algorithm>

#include "fileops/guarded_delete.h"
#include "sweep.h"

namespace sweeps {
namespace {

constexpr unsigned kErrorBox = win::kMbOk | win::kMbIconHand;

void PlantTree(doubles::MemoryFileSystem& files) {
    files.AddDrive('E');
    files.AddFile("E:\\Keep.txt", "keep");
    files.AddFile("E:\\Tree\\a.txt", "a", win::kFileAttributeReadonly);
    files.AddFile("E:\\Tree\\b.txt", "b");
    files.AddFile("E:\\Tree\\Sub\\c.txt", "c");
    files.AddFolder("E:\\Tree\\Sub\\Deep");
    files.AddFolder("E:\\Tree\\Locked", win::kFileAttributeDirectory | win::kFileAttributeReadonly);
    files.AddFile("E:\\Tree\\Locked\\d.txt", "d");
}

TEST(DeletionSweep, TreeIsGoneOrTheFailureIsReported) {
    doubles::FakeMachine planted;
    PlantTree(planted.files);
    const std::vector<std::string> before = planted.files.Tree('E');

    SweepFailurePoints("deletion of a folder tree", [&](int nth) {
        doubles::FakeMachine machine;
        PlantTree(machine.files);
        ArmNthCall(machine, nth);
        const int result = fileops::DeleteFileOrDirectory(machine.os, "E:\\Tree", 0);
        const std::string injected = machine.faults.Injected();

        ExpectNothingLeftOpen(machine);
        ExpectReasonsAreFailures(machine);
        const std::vector<std::string> after = machine.files.Tree('E');
        for (const std::string& entry : after) {
            EXPECT_NE(std::find(before.begin(), before.end(), entry), before.end())
                << injected << ": " << entry << " appeared";
        }
        EXPECT_EQ(machine.files.Contents("E:\\Keep.txt"), "keep") << injected;
        const auto errors = std::count_if(machine.ui.shown.begin(), machine.ui.shown.end(),
                                          [](const auto& box) { return box.type == kErrorBox; });
        if (result == 1) {
            EXPECT_EQ(after, std::vector<std::string>{"E:\\Keep.txt"}) << injected;
            EXPECT_EQ(errors, 0) << injected;
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(machine.files.Exists("E:\\Tree")) << injected;
            EXPECT_GT(errors, 0) << injected << ": a failure went unreported";
            if (!machine.ui.shown.empty()) {
                EXPECT_EQ(machine.ui.shown.back().type, kErrorBox) << injected;
                EXPECT_TRUE(machine.ui.shown.back().text.starts_with("Unable to")) << injected;
            }
        }
        return FaultMet(machine);
    });
}

}  // namespace
}  // namespace sweeps
