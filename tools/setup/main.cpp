// stashwell-setup: runs the installer's logic on a simulated Windows machine
// described on the command line.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

#include "detect_verdict.h"
#include "machine_options.h"
#include "simulated_machine.h"

int main(int argc, char** argv) {
    CLI::App app{"Runs the Stashwell installer on a simulated Windows machine.", "stashwell-setup"};
    setup::MachineDescription description;
    setup::AddMachineOptions(app, description);
    bool detect = false;
    app.add_flag("--detect", detect, "print which supported drive detection finds, and exit");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "stashwell-setup: " << e.what() << '\n';
        return 2;
    }
    if (!detect) {
        std::cerr << "stashwell-setup: nothing to do; give --detect (see --help)\n";
        return 2;
    }

    std::string error;
    auto machine = setup::SimulatedMachine::Build(description, error);
    if (!machine) {
        std::cerr << error << '\n';
        return 1;
    }
    std::cout << setup::DetectVerdict(machine->os()) << '\n';
    return 0;
}
