#include "console_message_boxes.h"

#include <cstdio>
#include <utility>

#include "platform/hosted/printable_text.h"
#include "platform/win_constants.h"

namespace setup {

namespace {

constexpr char kBoxEdge[] = "  | ";

// Each line of the text set in the box, with what would not print escaped.
std::string BoxedText(const std::string& text) {
    std::string boxed = kBoxEdge;
    for (const char c : hosted::PrintableLines(text)) {
        boxed += c;
        if (c == '\n') {
            boxed += kBoxEdge;
        }
    }
    return boxed + '\n';
}

bool IsYesNo(unsigned type) {
    return (type & win::kMbTypeMask) == win::kMbYesNo;
}

}  // namespace

std::string MessageBoxTypeName(unsigned type) {
    std::string name = IsYesNo(type)                             ? "MB_YESNO"
                       : (type & win::kMbTypeMask) == win::kMbOk ? "MB_OK"
                                                                 : "MB_TYPE";
    if ((type & win::kMbIconMask) == win::kMbIconHand) {
        name += " | MB_ICONHAND";
    } else if ((type & win::kMbIconMask) == win::kMbIconQuestion) {
        name += " | MB_ICONQUESTION";
    }
    char value[16];
    std::snprintf(value, sizeof value, " (0x%X)", type);
    return name + value;
}

ConsoleMessageBoxes::ConsoleMessageBoxes(Console& console, std::string applicationTitle)
    : console_(console), applicationTitle_(std::move(applicationTitle)) {}

int ConsoleMessageBoxes::AfxMessageBox(const std::string& text, unsigned type) {
    return MessageBoxA(text, applicationTitle_, type);
}

int ConsoleMessageBoxes::MessageBoxA(const std::string& text, const std::string& caption,
                                     unsigned type) {
    std::ostream& out = console_.out();
    out << "\n  .-- [" << hosted::PrintableText(caption) << "]  " << MessageBoxTypeName(type)
        << '\n'
        << BoxedText(text) << "  '-- " << (IsYesNo(type) ? "[ Yes ]  [ No ]" : "[ OK ]") << '\n';
    if (IsYesNo(type)) {
        return AskYesNo();
    }
    console_.WaitForEnter();
    return win::kIdOk;
}

int ConsoleMessageBoxes::AskYesNo() {
    for (;;) {
        const std::optional<std::string> answer = console_.ReadWord("  Yes or No? [y/n] > ");
        if (!answer) {
            return win::kIdNo;
        }
        if (*answer == "y" || *answer == "yes") {
            return win::kIdYes;
        }
        if (*answer == "n" || *answer == "no") {
            return win::kIdNo;
        }
    }
}

}  // namespace setup
