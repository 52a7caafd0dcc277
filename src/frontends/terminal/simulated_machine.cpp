#include "simulated_machine.h"

#include "platform/hosted/input_file.h"
#include "platform/hosted/reg_file.h"
#include "wizard/application_title.h"

namespace setup {

SimulatedMachine::SimulatedMachine()
    : files_(drives_, lastError_),
      system_(drives_, lastError_),
      ui_(wizard::ApplicationTitle(hosted::HostExecutablePath())),
      os_{files_, registry_, system_, ui_} {}

std::unique_ptr<SimulatedMachine> SimulatedMachine::Build(const MachineDescription& description,
                                                          std::string& error) {
    std::unique_ptr<SimulatedMachine> machine(new SimulatedMachine());
    for (const std::string& file : description.registryFiles) {
        if (!hosted::LoadRegFile(file, machine->registry_, error)) {
            return nullptr;
        }
    }
    for (const auto& [letter, folder] : description.drives) {
        if (!machine->drives_.Map(letter, folder)) {
            error = std::string("drive ") + letter + ": no folder " + folder;
            return nullptr;
        }
    }
    hosted::MachineFacts& facts = machine->system_.facts();
    facts.platformId =
        description.ntFamily ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
    facts.currentDirectory = description.currentDirectory;
    facts.currentDirectoryMode = description.currentDirectoryMode;
    if (!description.installerPath.empty()) {
        facts.modulePath = description.installerPath;
    }
    // The installer's own file is the one place of the host beside the
    // drives that the machine reaches.
    if (const std::string problem = hosted::InputFileProblem(facts.modulePath);
        !problem.empty() || !machine->drives_.MapFile(facts.modulePath, facts.modulePath)) {
        error = "cannot read the installer " + facts.modulePath + ": " + problem;
        return nullptr;
    }
    return machine;
}

}  // namespace setup
