#include "detect/hardware_id.h"

#include <algorithm>
#include <cctype>

namespace detect {

namespace {

bool SameLowerCase(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
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
