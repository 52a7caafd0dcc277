// Message boxes for programs without a window: each box is written to
// standard error as "[caption] text", and every question is answered No.
#pragma once

#include <string>

#include "platform/user_interface.h"

namespace hosted {

class StderrUserInterface : public platform::UserInterface {
  public:
    explicit StderrUserInterface(std::string applicationTitle);

    int AfxMessageBox(const std::string& text, unsigned type) override;
    int MessageBoxA(const std::string& text, const std::string& caption, unsigned type) override;
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

  private:
    std::string applicationTitle_;
};

}  // namespace hosted
