#include "detect/hardware_id.h"

#include <algorithm>

namespace detect {

namespace {

// Lowered as in the C locale: A to Z only.
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLowerCase(char a, char b) {
    return Lower(a) == Lower(b);
}

}  // namespace

bool MatchesHardwareId(std::string_view text, std::string_view entry) {
    return text.size() >= entry.size() &&
           std::equal(entry.begin(), entry.end(), text.begin(), SameLowerCase);
}

bool MatchesIdList(std::string_view text, IdList list) {
    for (IdList entry = list; **entry != '\0'; ++entry) {
        if (MatchesHardwareId(text, *entry)) {
            return true;
        }
    }
    return false;
}

bool MatchesGroup(std::string_view text, const DriveGroup& group) {
    return std::any_of(std::begin(group.lists), std::end(group.lists),
                       [&](IdList list) { return list != nullptr && MatchesIdList(text, list); });
}

}  // namespace detect
