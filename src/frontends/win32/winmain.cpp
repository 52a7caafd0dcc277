// The installer: the wizard's logic on the system's property sheet.
#include <string>

#include "frontends/win32/property_sheet_framework.h"
#include "frontends/win32/sheet_window.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "wizard/application_title.h"
#include "wizard/installer_app.h"

namespace {

std::string ModulePath() {
    char path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    platform::win32::Win32Platform os(wizard::ApplicationTitle(ModulePath()));
    platform::win32::SheetWindow window(instance);
    platform::win32::PropertySheetFramework framework(instance, window);
    wizard::CInstallerApp application(os.Get(), window, framework);
    application.InitInstance();
    return 0;
}
