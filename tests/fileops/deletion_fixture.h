// A simulated machine with a drive E: for the deletion tests, and the checks
// that every deletion must pass whatever happened: no search or file left
// open and the wait cursor taken away as often as it was shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doubles/fake_machine.h"
#include "fileops/guarded_delete.h"
#include "platform/hosted/error_text.h"

namespace fileops {

inline constexpr unsigned kErrorBox = win::kMbOk | win::kMbIconHand;
inline constexpr unsigned kQuestion = win::kMbYesNo | win::kMbIconQuestion;

class DeletionTest : public ::testing::Test {
  protected:
    doubles::FakeMachine machine;
    doubles::MemoryFileSystem& files = machine.files;

    DeletionTest() { files.AddDrive('E'); }

    void TearDown() override {
        EXPECT_EQ(files.OpenSearchCount(), 0) << machine.faults.Injected();
        EXPECT_EQ(files.OpenHandleCount(), 0) << machine.faults.Injected();
        EXPECT_EQ(machine.ui.waitCursorDepth, 0) << machine.faults.Injected();
    }

    int Delete(const std::string& path, int skipReadOnlyPrompt = 0) {
        return DeleteFileOrDirectory(machine.os, path, skipReadOnlyPrompt);
    }

    std::vector<std::string> Texts() const { return machine.ui.Texts(); }

    std::vector<unsigned> Types() const {
        std::vector<unsigned> types;
        for (const auto& box : machine.ui.shown) {
            types.push_back(box.type);
        }
        return types;
    }

    static std::string Message(std::uint32_t code) { return hosted::SystemMessageText(code); }
};

}  // namespace fileops
