// Message boxes answered from a script, each one recorded for the test.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace testbed {

struct ShownBox {
    std::string text;
    std::string caption;  // "" for AfxMessageBox (the application's title)
    unsigned type;
    bool operator==(const ShownBox&) const = default;
};

class ScriptedUi : public platform::UserInterface {
  public:
    // Answers for the coming Yes/No questions, in order; when the script runs
    // out a question is answered with defaultAnswer. OK boxes take no answer.
    std::deque<int> answers;
    int defaultAnswer = 6;  // IDYES

    std::vector<ShownBox> shown;
    int waitCursorDepth = 0;     // 0 when every Begin was ended
    int waitCursorShowings = 0;  // how often it was shown

    // The texts of the boxes shown, in order.
    std::vector<std::string> Texts() const;

    int AfxMessageBox(const std::string& text, unsigned type) override;
    int MessageBoxA(const std::string& text, const std::string& caption, unsigned type) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
};

}  // namespace testbed
