#include "console.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace setup {

Console::Console(std::istream& in, std::ostream& out, bool interactive, bool colour)
    : in_(in), out_(out), interactive_(interactive), colour_(colour) {}

Console Console::Standard() {
    const char* term = std::getenv("TERM");
    const bool colour = isatty(STDOUT_FILENO) == 1 && std::getenv("NO_COLOR") == nullptr &&
                        term != nullptr && std::strcmp(term, "dumb") != 0;
    return Console(std::cin, std::cout, isatty(STDIN_FILENO) == 1, colour);
}

std::optional<std::string> Console::ReadLine(const std::string& prompt) {
    out_ << prompt << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
        out_ << '\n';
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (!interactive_) {
        out_ << line << '\n';
    }
    return line;
}

std::optional<std::string> Console::ReadWord(const std::string& prompt) {
    const std::optional<std::string> line = ReadLine(prompt);
    if (!line) {
        return std::nullopt;
    }
    return Word(*line);
}

std::string Console::Word(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    const std::size_t last = line.find_last_not_of(" \t");
    std::string word = first == std::string::npos ? "" : line.substr(first, last - first + 1);
    for (char& c : word) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return word;
}

void Console::WaitForEnter() {
    if (interactive_) {
        ReadLine("(press Enter) ");
    }
}

}  // namespace setup
