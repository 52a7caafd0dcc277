#include "probe_report.h"

#include <cstdio>

namespace probe {

void Report::Expect(const std::string& name, bool passed, const std::string& detail) {
    if (passed) {
        ++passed_;
        std::printf("ok   %s\n", name.c_str());
    } else {
        ++failed_;
        std::printf("FAIL %s: %s\n", name.c_str(), detail.c_str());
    }
    std::fflush(stdout);
}

void Report::Note(const std::string& name, const std::string& value) {
    std::printf("note %s: %s\n", name.c_str(), value.c_str());
    std::fflush(stdout);
}

int Report::Close() {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace probe
