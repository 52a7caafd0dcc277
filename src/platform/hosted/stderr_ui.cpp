#include "platform/hosted/stderr_ui.h"

#include <cstdio>

#include "platform/hosted/printable_text.h"
#include "platform/win_constants.h"

namespace hosted {

StderrUserInterface::StderrUserInterface(std::string applicationTitle)
    : applicationTitle_(std::move(applicationTitle)) {}

int StderrUserInterface::AfxMessageBox(const std::string& text, unsigned type) {
    return MessageBoxA(text, applicationTitle_, type);
}

int StderrUserInterface::MessageBoxA(const std::string& text, const std::string& caption,
                                     unsigned type) {
    std::fprintf(stderr, "[%s] %s\n", PrintableText(caption).c_str(), PrintableLines(text).c_str());
    return (type & win::kMbTypeMask) == win::kMbYesNo ? win::kIdNo : win::kIdOk;
}

}  // namespace hosted
