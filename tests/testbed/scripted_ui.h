// Message boxes answered from a script, each one recorded for the test.
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"
#include "platform/win_constants.h"

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
    int defaultAnswer = win::kIdYes;

    std::vector<ShownBox> shown;
    int waitCursorDepth = 0;     // 0 when every Begin was ended
    int waitCursorShowings = 0;  // how often it was shown

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts(shown.size());
        std::ranges::transform(shown, texts.begin(), &ShownBox::text);
        return texts;
    }

    int AfxMessageBox(const std::string& text, unsigned type) override {
        return MessageBoxA(text, "", type);
    }
    int MessageBoxA(const std::string& text, const std::string& caption, unsigned type) override {
        shown.push_back(ShownBox{text, caption, type});
        if ((type & win::kMbTypeMask) != win::kMbYesNo) {
            return win::kIdOk;
        }
        const int answer = answers.empty() ? defaultAnswer : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    void BeginWaitCursor() override { ++waitCursorDepth, ++waitCursorShowings; }
    void EndWaitCursor() override { --waitCursorDepth; }
};

}  // namespace testbed
