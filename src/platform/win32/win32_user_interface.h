// Message boxes and the wait cursor of the running Windows.
#pragma once

#include <string>

#include "platform/user_interface.h"

namespace platform::win32 {

class Win32UserInterface final : public UserInterface {
  public:
    // title: the application's title, the caption of AfxMessageBox.
    explicit Win32UserInterface(std::string title);

    // Owned by the active window of the application, if any; a box given no
    // icon gets the framework's default one.
    int AfxMessageBox(const std::string& text, unsigned type) override;
    int MessageBoxA(const std::string& text, const std::string& caption, unsigned type) override;
    // Nested: the cursor shown before the outermost Begin comes back with
    // the matching End.
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

  private:
    std::string title_;
    int waitDepth_ = 0;
    void* cursorBeforeWait_ = nullptr;
};

}  // namespace platform::win32
