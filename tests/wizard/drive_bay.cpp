#include "drive_bay.h"

namespace wizard_test {

void DriveBay::Plug(const machines::DriveModel& model, char letter) {
    plugged_.push_back({model, letter});
    machines::PlugIn(machine_, model, letter);
    machine_.files.AddDrive(letter);
}

void DriveBay::Pull(char letter) {
    std::erase_if(plugged_, [letter](const Plugged& drive) { return drive.letter == letter; });
    machine_.files.RemoveDrive(letter);
    machine_.system.logicalDrives &= ~machines::DriveBit(letter);
    // Windows forgets the device: the others are recorded again as they were.
    machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "System");
    machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "Enum");
    machine_.registryData.DeleteKey(win::kHkeyDynData, "Config Manager");
    for (const Plugged& drive : plugged_) {
        machines::PlugIn(machine_, drive.model, drive.letter);
    }
}

}  // namespace wizard_test
