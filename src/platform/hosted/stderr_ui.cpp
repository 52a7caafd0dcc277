#include "platform/hosted/stderr_ui.h"

#include <cstdio>

#include "platform/win_constants.h"

namespace hosted {

namespace {

// "\r\n" in a message is one line break on a terminal.
std::string WithoutCarriageReturns(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

}  // namespace

StderrUserInterface::StderrUserInterface(std::string applicationTitle)
    : applicationTitle_(std::move(applicationTitle)) {}

int StderrUserInterface::AfxMessageBox(const std::string& text, unsigned type) {
    return MessageBoxA(text, applicationTitle_, type);
}

int StderrUserInterface::MessageBoxA(const std::string& text, const std::string& caption,
                                     unsigned type) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), WithoutCarriageReturns(text).c_str());
    return (type & win::kMbTypeMask) == win::kMbYesNo ? win::kIdNo : win::kIdOk;
}

}  // namespace hosted
