#include "scenario.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

namespace driver {

namespace {

constexpr std::array<std::string_view, 6> kDriverVerbs = {"start",   "picture", "answer",
                                                          "regedit", "install", "cancel"};
// Read by the test script.
constexpr std::array<std::string_view, 6> kScriptVerbs = {"machine",  "installer",   "file",
                                                          "readonly", "environment", "expect"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& verbs, const std::string& verb) {
    return std::find(verbs.begin(), verbs.end(), verb) != verbs.end();
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

bool ReadScenario(const std::string& path, std::vector<Step>& steps, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::string text;
    for (int number = 1; std::getline(file, text); ++number) {
        text = Trimmed(text.substr(0, text.find('#')));
        if (text.empty()) {
            continue;
        }
        const auto space = text.find(' ');
        Step step{text.substr(0, space),
                  space == std::string::npos ? "" : Trimmed(text.substr(space)), number};
        if (Contains(kDriverVerbs, step.verb)) {
            steps.push_back(step);
        } else if (!Contains(kScriptVerbs, step.verb)) {
            error = path + ":" + std::to_string(number) + ": unknown step " + step.verb;
            return false;
        }
    }
    return true;
}

}  // namespace driver
