// The supported drives of a fake machine, which a test plugs in and pulls
// out: their registry entries as the machine's family of Windows records
// them, their bits among the logical drives and their volumes.
#pragma once

#include <vector>

#include "doubles/fake_machine.h"
#include "plugged_drives.h"

namespace wizard_test {

class DriveBay {
  public:
    explicit DriveBay(doubles::FakeMachine& machine) : machine_(machine) {}

    void Plug(const machines::DriveModel& model, char letter);
    // Every drive at the letter is gone; the others stay as they were.
    void Pull(char letter);

  private:
    struct Plugged {
        machines::DriveModel model;
        char letter;
    };

    doubles::FakeMachine& machine_;
    std::vector<Plugged> plugged_;
};

}  // namespace wizard_test
