#include "wizard_session.h"

#include "console_message_boxes.h"
#include "terminal_sheet.h"
#include "wizard/installer_app.h"

namespace setup {

int RunWizard(platform::Platform& machine, Console& console) {
    ConsoleMessageBoxes boxes(console, wizard::kSheetTitle);
    platform::Platform os{machine.files, machine.registry, machine.system, boxes};
    TerminalSheet window(console);
    wizard::CInstallerApp app(os, window, window);
    app.InitInstance();
    return 0;
}

}  // namespace setup
