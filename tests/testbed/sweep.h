// Fault sweeps: a scenario run once for each platform call that it makes,
// with that call failing, until a run meets no fault and so runs through.
// Each run builds its machine afresh; the checks below hold after every run.
#pragma once

#include <functional>
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
// failure points swept, which it returns.
int SweepFailurePoints(const std::string& scenario, const std::function<bool(int nth)>& run);

// Makes the nth call from now fail with kInjected.
inline void ArmNthCall(TestMachine& machine, int nth) {
    machine.faults.FailNthOverall(machine.faults.Total() + nth, kInjected);
}
inline bool FaultMet(const TestMachine& machine) {
    return !machine.faults.Injected().empty();
}

// No file, folder search or registry key left open, no wait cursor left.
void ExpectNothingLeftOpen(const TestMachine& machine);
// Every message that gives a system reason gives the reason of a failure:
// never an empty one, nor that of a call that succeeded.
void ExpectReasonsAreFailures(const TestMachine& machine);

// Every entry of a drive with its attributes and contents, but for the
// entry at path and those below it: what a run that touches only path
// leaves as it was.
std::vector<std::string> EntriesOutside(TestMachine& machine, char letter, std::string path = "");

}  // namespace testbed
