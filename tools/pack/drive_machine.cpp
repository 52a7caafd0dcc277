#include "drive_machine.h"

#include "pack_error.h"

namespace pack {

DriveMachine::DriveMachine(char letter, const std::filesystem::path& folder) {
    if (!drives_.Map(letter, folder.string())) {
        throw PackError("cannot use " + folder.string() + " as drive " + letter + ":");
    }
}

}  // namespace pack
