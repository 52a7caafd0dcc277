// The installer: the wizard's logic on the system's property sheet. The
// application object, with the system it runs on, is constructed during
// static initialisation, before WinMain, as the framework's is.
#include <new>
#include <string>

#include "frontends/win32/property_sheet_framework.h"
#include "frontends/win32/sheet_window.h"
#include "platform/win32/runtime/runtime.h"
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

// The application's title, which captions the memory box from here on.
struct Title {
    Title() : text(wizard::ApplicationTitle(ModulePath())) {
        platform::win32::runtime::SetMemoryFailureCaption(text.c_str());
    }
    std::string text;
};

struct Installer {
    explicit Installer(HINSTANCE instance)
        : os(title.text),
          window(instance),
          framework(instance, window),
          application(os.Get(), window, framework) {}

    Title title;
    platform::win32::Win32Platform os;
    platform::win32::SheetWindow window;
    platform::win32::PropertySheetFramework framework;
    wizard::CInstallerApp application;
};

// Never destroyed: the process ends with the objects in place, and the end
// of the process releases what they hold.
alignas(Installer) unsigned char g_storage[sizeof(Installer)];
Installer& g_installer = *new (g_storage) Installer(::GetModuleHandleA(nullptr));

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    g_installer.application.InitInstance();
    return 0;
}
