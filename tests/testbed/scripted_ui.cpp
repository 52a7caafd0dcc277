#include "testbed/scripted_ui.h"

#include "platform/win_constants.h"

namespace testbed {

std::vector<std::string> ScriptedUi::Texts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : shown) {
        texts.push_back(box.text);
    }
    return texts;
}

int ScriptedUi::AfxMessageBox(const std::string& text, unsigned type) {
    return MessageBoxA(text, "", type);
}

int ScriptedUi::MessageBoxA(const std::string& text, const std::string& caption, unsigned type) {
    shown.push_back(ShownBox{text, caption, type});
    if ((type & win::kMbTypeMask) != win::kMbYesNo) {
        return win::kIdOk;
    }
    if (answers.empty()) {
        return defaultAnswer;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedUi::BeginWaitCursor() {
    ++waitCursorDepth;
    ++waitCursorShowings;
}

void ScriptedUi::EndWaitCursor() {
    --waitCursorDepth;
}

}  // namespace testbed
