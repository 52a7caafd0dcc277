#include "drive_machine.h"

#include "pack_error.h"

namespace pack {

DriveMachine::DriveMachine(char letter, const std::filesystem::path& folder) {
    if (!drives_.Map(letter, folder.string())) {
        throw PackError("cannot use " + folder.string() + " as drive " + letter + ":");
    }
}

void DriveMachine::MapInstaller(const std::filesystem::path& installer) {
    if (!drives_.MapFile(installer.string(), installer.string())) {
        throw PackError("cannot read the installer " + installer.string());
    }
}

}  // namespace pack
