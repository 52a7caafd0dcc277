#include "machine_commands.h"

#include <sstream>
#include <vector>

#include "platform/hosted/printable_text.h"
#include "platform/hosted/reg_file.h"

namespace setup {

namespace {

bool LoadAll(const std::vector<std::string>& files, hosted::MemoryRegistry& registry,
             std::string& error) {
    for (const std::string& file : files) {
        if (!hosted::LoadRegFile(file, registry, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool RunMachineCommand(SimulatedMachine& machine, Console& console, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command != "registry") {
        return false;
    }
    std::vector<std::string> files;
    for (std::string file; words >> file;) {
        files.push_back(file);
    }
    // Every file is tried on a scratch registry first, so that a bad one
    // changes nothing.
    hosted::MemoryRegistry scratch;
    std::string error;
    if (files.empty() || !LoadAll(files, scratch, error)) {
        console.out() << (files.empty() ? "registry: give the .reg files to load"
                                        : hosted::PrintableText(error))
                      << "; the machine is unchanged.\n";
        return true;
    }
    machine.registry().DeleteKey(win::kHkeyLocalMachine, "");
    machine.registry().DeleteKey(win::kHkeyDynData, "");
    LoadAll(files, machine.registry(), error);
    console.out() << "The machine's registry now holds "
                  << hosted::PrintableText(line.substr(line.find(files[0]))) << ".\n";
    return true;
}

}  // namespace setup
