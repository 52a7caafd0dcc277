#include "testbed/drive_bay.h"

namespace testbed {

void DriveBay::Plug(const DriveModel& model, char letter) {
    plugged_.push_back({model, letter});
    PlugIn(machine_, model, letter);
}

void DriveBay::Pull(char letter) {
    std::erase_if(plugged_, [letter](const Plugged& drive) { return drive.letter == letter; });
    machine_.PullDrive(letter);
    // Windows forgets the device: the others are recorded again as they were,
    // on the volumes they have.
    machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "System");
    machine_.registryData.DeleteKey(win::kHkeyLocalMachine, "Enum");
    machine_.registryData.DeleteKey(win::kHkeyDynData, "Config Manager");
    for (const Plugged& drive : plugged_) {
        RecordDrive(machine_, drive.model, drive.letter);
    }
}

}  // namespace testbed
