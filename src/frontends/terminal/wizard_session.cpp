#include "wizard_session.h"

#include "console_message_boxes.h"
#include "machine_commands.h"
#include "platform/hosted/hosted_system.h"
#include "terminal_sheet.h"
#include "wizard/application_title.h"
#include "wizard/installer_app.h"

namespace setup {

int RunWizard(SimulatedMachine& machine, Console& console) {
    ConsoleMessageBoxes boxes(console, wizard::ApplicationTitle(hosted::HostExecutablePath()));
    platform::Platform os{machine.os().files, machine.os().registry, machine.os().system, boxes};
    TerminalSheet window(console, [&machine, &console](const std::string& line) {
        return RunMachineCommand(machine, console, line);
    });
    wizard::CInstallerApp app(os, window, window);
    app.InitInstance();
    return 0;
}

}  // namespace setup
