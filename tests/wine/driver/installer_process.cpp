#include "installer_process.h"

#include <cstring>
#include <vector>

namespace driver {

namespace {

constexpr DWORD kAnswerTimeout = 60000;

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> TopLevelDialogs(DWORD threadId) {
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(threadId, &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

bool HasTabControl(HWND dialog) {
    return ::FindWindowExA(dialog, nullptr, "SysTabControl32", nullptr) != nullptr;
}

}  // namespace

std::string WindowText(HWND window) {
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

InstallerProcess::~InstallerProcess() {
    if (process_ != nullptr) {
        if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_, 1);
        }
        ::CloseHandle(process_);
    }
}

bool InstallerProcess::Start(const std::string& executable, const std::string& directory) {
    std::string commandLine = "\"" + executable + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, directory.c_str(), &startup, &started)) {
        return false;
    }
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    threadId_ = started.dwThreadId;
    ::WaitForInputIdle(process_, kAnswerTimeout);
    return true;
}

bool InstallerProcess::Exited(DWORD waitMilliseconds, DWORD& code) const {
    if (::WaitForSingleObject(process_, waitMilliseconds) != WAIT_OBJECT_0) {
        return false;
    }
    ::GetExitCodeProcess(process_, &code);
    return true;
}

bool InstallerProcess::Ping() const {
    const std::vector<HWND> dialogs = TopLevelDialogs(threadId_);
    if (dialogs.empty()) {
        return false;
    }
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(dialogs.front(), WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeout,
                                 &result) != 0;
}

HWND InstallerProcess::Sheet() const {
    for (HWND dialog : TopLevelDialogs(threadId_)) {
        if (HasTabControl(dialog)) {
            return dialog;
        }
    }
    return nullptr;
}

HWND InstallerProcess::Box() const {
    for (HWND dialog : TopLevelDialogs(threadId_)) {
        if (!HasTabControl(dialog) && ::IsWindowVisible(dialog)) {
            return dialog;
        }
    }
    return nullptr;
}

}  // namespace driver
