// The program's entry point: runs the static constructors, calls WinMain
// with the arguments the system gives every program, and ends the process
// with its result.
#include <cstddef>

#include "platform/win32/runtime/runtime.h"
#include "platform/win32/windows_api.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

namespace {

using Constructor = void (*)();

}  // namespace

// The linker lays the constructors out as -1, the entries, 0, under its
// own name.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
extern "C" Constructor __CTOR_LIST__[];

namespace {

void RunStaticConstructors() {
    std::size_t count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) {
        ++count;
    }
    // Last first, as the toolchain's own start-up runs them.
    for (; count > 0; --count) {
        __CTOR_LIST__[count]();
    }
}

// The command line after the program's name and the blanks that follow it.
LPSTR ArgumentsOf(LPSTR line) {
    bool quoted = false;
    for (; *line != '\0' && (quoted || (*line != ' ' && *line != '\t')); ++line) {
        if (*line == '"') {
            quoted = !quoted;
        }
    }
    while (*line == ' ' || *line == '\t') {
        ++line;
    }
    return line;
}

int ShowCommandOf() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

extern "C" void WinMainCRTStartup() {
    RunStaticConstructors();
    const int status = WinMain(::GetModuleHandleA(nullptr), nullptr,
                               ArgumentsOf(::GetCommandLineA()), ShowCommandOf());
    platform::win32::runtime::EndProcess(status);
}
