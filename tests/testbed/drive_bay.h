// The supported drives of a test machine, which a test plugs in and pulls
// out: their registry entries as the machine's family of Windows records
// them, and their volumes.
#pragma once

#include <vector>

#include "testbed/plugged_drives.h"
#include "testbed/test_machine.h"

namespace testbed {

class DriveBay {
  public:
    explicit DriveBay(TestMachine& machine) : machine_(machine) {}

    void Plug(const DriveModel& model, char letter);
    // Every drive at the letter is gone; the others stay as they were.
    void Pull(char letter);

  private:
    struct Plugged {
        DriveModel model;
        char letter;
    };
    TestMachine& machine_;
    std::vector<Plugged> plugged_;
};

}  // namespace testbed
