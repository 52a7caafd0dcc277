#include "transcript.h"

namespace driver {

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '\\':
                quoted += "\\\\";
                break;
            case '"':
                quoted += "\\\"";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                quoted += c;
        }
    }
    return quoted + "\"";
}

bool Transcript::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

Transcript::~Transcript() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void Transcript::Line(const std::string& line) {
    std::fputs((line + "\n").c_str(), file_);
    std::fflush(file_);
    std::fputs((line + "\n").c_str(), stdout);
}

}  // namespace driver
