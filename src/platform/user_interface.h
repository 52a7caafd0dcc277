// The blocking message boxes and the wait cursor.
#pragma once

#include <string>

namespace platform {

class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // AfxMessageBox(text, type): captioned with the application's title.
    // Returns the answer (win::kIdOk, kIdYes, kIdNo, ...).
    virtual int AfxMessageBox(const std::string& text, unsigned type) = 0;
    // CWnd::MessageBox(text, caption, type) of a window of the application.
    virtual int MessageBoxA(const std::string& text, const std::string& caption, unsigned type) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

}  // namespace platform
