// Fault sweeps: a scenario run once for each platform call that it makes,
// with that call failing, until a run meets no fault and so runs through.
// Each run builds its machine afresh; the checks below hold after every run.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "platform/hosted/error_text.h"
#include "testbed/test_machine.h"

namespace testbed {

// The error of the failing call. Its text is what a message that gives a
// system reason must quote.
inline constexpr std::uint32_t kInjected = win::kErrorGenFailure;
inline std::string FaultText() {
    return hosted::SystemMessageText(kInjected);
}

// Calls run(n) for n = 1, 2, ... until it returns false, that is, until the
// nth call was never made. run arms the failing call with ArmNthCall and
// returns whether the fault was met. Prints and records the count of
// failure points swept, which it returns. A scenario of the installer
// makes a few hundred calls; a sweep that goes on much longer does not end.
inline int SweepFailurePoints(const std::string& scenario,
                              const std::function<bool(int nth)>& run) {
    int swept = 0;
    while (swept < 20000 && run(swept + 1)) {
        ++swept;
    }
    EXPECT_LT(swept, 20000) << scenario << ": the sweep does not end";
    ::testing::Test::RecordProperty("failure_points", swept);
    std::cout << "swept " << swept << " failure points: " << scenario << std::endl;
    EXPECT_GT(swept, 0) << scenario;
    return swept;
}

// Makes the nth call from now fail with kInjected.
inline void ArmNthCall(TestMachine& machine, int nth) {
    machine.faults.FailNthOverall(machine.faults.Total() + nth, kInjected);
}
inline bool FaultMet(const TestMachine& machine) {
    return !machine.faults.Injected().empty();
}

// No file, folder search or registry key left open, no wait cursor left.
inline void ExpectNothingLeftOpen(const TestMachine& machine) {
    const std::string& where = machine.faults.Injected();
    EXPECT_EQ(machine.files.OpenHandleCount(), 0) << where;
    EXPECT_EQ(machine.files.OpenSearchCount(), 0) << where;
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0) << where;
    EXPECT_EQ(machine.ui.waitCursorDepth, 0) << where;
}
// Every message that gives a system reason gives the reason of a failure:
// never an empty one, nor that of a call that succeeded.
inline void ExpectReasonsAreFailures(const TestMachine& machine) {
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

// Every entry of a drive with its attributes and contents, but for the
// entry at path and those below it: what a run that touches only path
// leaves as it was.
inline std::vector<std::string> EntriesOutside(TestMachine& machine, char letter,
                                               std::string path = "") {
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
