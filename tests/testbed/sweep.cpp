#include "testbed/sweep.h"

#include <gtest/gtest.h>

#include <iostream>

namespace testbed {

// A scenario of the installer makes a few hundred calls; a sweep that goes
// on much longer than that does not end.
constexpr int kMostFailurePoints = 20000;

int SweepFailurePoints(const std::string& scenario, const std::function<bool(int nth)>& run) {
    int nth = 1;
    while (run(nth)) {
        if (++nth > kMostFailurePoints) {
            ADD_FAILURE() << scenario << ": the sweep does not end";
            break;
        }
    }
    const int swept = nth - 1;
    ::testing::Test::RecordProperty("failure_points", swept);
    std::cout << "swept " << swept << " failure points: " << scenario << std::endl;
    EXPECT_GT(swept, 0) << scenario;
    return swept;
}

void ExpectNothingLeftOpen(const TestMachine& machine) {
    const std::string& where = machine.faults.Injected();
    EXPECT_EQ(machine.files.OpenHandleCount(), 0) << where;
    EXPECT_EQ(machine.files.OpenSearchCount(), 0) << where;
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0) << where;
    EXPECT_EQ(machine.ui.waitCursorDepth, 0) << where;
}

void ExpectReasonsAreFailures(const TestMachine& machine) {
    const std::string success = hosted::SystemMessageText(win::kErrorSuccess);
    for (const std::string& text : machine.ui.Texts()) {
        for (const std::string label : {"Message: ", "Error: "}) {
            if (const std::size_t at = text.find(label); at != std::string::npos) {
                const std::string reason = text.substr(at + label.size());
                EXPECT_TRUE(!reason.empty() && !reason.starts_with(success))
                    << machine.faults.Injected() << ": no reason given in " << text;
            }
        }
    }
}

std::vector<std::string> EntriesOutside(TestMachine& machine, char letter, std::string path) {
    if (path.ends_with('\\')) {
        path.pop_back();
    }
    std::vector<std::string> entries;
    for (const std::string& entry : machine.Tree(letter)) {
        if (path.empty() || (entry != path && !entry.starts_with(path + '\\'))) {
            entries.push_back(entry + " " + std::to_string(machine.Attributes(entry)) + " " +
                              machine.Contents(entry));
        }
    }
    return entries;
}

}  // namespace testbed
