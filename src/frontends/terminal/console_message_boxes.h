// Message boxes on the console: each is printed with its caption, its type
// and its text, then waits for its answer: Enter for an OK box (at a
// terminal only), y or n for a Yes/No question (the end of input is No).
#pragma once

#include <string>

#include "console.h"
#include "platform/user_interface.h"

namespace setup {

class ConsoleMessageBoxes : public platform::UserInterface {
  public:
    // applicationTitle: the caption of the framework's boxes.
    ConsoleMessageBoxes(Console& console, std::string applicationTitle);

    int AfxMessageBox(const std::string& text, unsigned type) override;
    int MessageBoxA(const std::string& text, const std::string& caption, unsigned type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

  private:
    int AskYesNo();

    Console& console_;
    std::string applicationTitle_;
};

// "MB_YESNO | MB_ICONQUESTION (0x24)".
std::string MessageBoxTypeName(unsigned type);

}  // namespace setup
