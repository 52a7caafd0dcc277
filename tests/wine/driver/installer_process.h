// The installer's process, driven from outside: started with a current
// directory, its windows found on its user-interface thread, and that thread
// pinged until it waits for input again.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

// A window's text, as another process reads it.
std::string WindowText(HWND window);

class InstallerProcess {
  public:
    InstallerProcess() = default;
    InstallerProcess(const InstallerProcess&) = delete;
    InstallerProcess& operator=(const InstallerProcess&) = delete;
    // Ends a process that is still running.
    ~InstallerProcess();

    // Starts the executable in the folder and waits until it first waits
    // for input. False when it cannot be started.
    bool Start(const std::string& executable, const std::string& directory);
    HANDLE Handle() const { return process_; }

    // True with the exit code once the process has ended, waiting at most
    // the given time.
    bool Exited(DWORD waitMilliseconds, DWORD& code) const;
    // Returns once the user-interface thread has handled a message sent to
    // one of its windows; false when it has no window or did not answer.
    bool Ping() const;

    // The property sheet: the thread's top-level dialog with a tab control.
    HWND Sheet() const;
    // A message box: any other visible top-level dialog of the thread.
    HWND Box() const;

  private:
    HANDLE process_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace driver
