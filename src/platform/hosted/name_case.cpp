#include "platform/hosted/name_case.h"

#include <algorithm>

namespace hosted {

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool LessUpper(char a, char b) {
    return static_cast<unsigned char>(Upper(a)) < static_cast<unsigned char>(Upper(b));
}

}  // namespace

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Upper(x) == Upper(y); });
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), LessUpper)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), LessUpper)) {
        return false;
    }
    return a < b;
}

}  // namespace hosted
