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

namespace {

const char* FindListEntry(std::string_view text, IdList list) {
    for (IdList entry = list; **entry != '\0'; ++entry) {
        if (MatchesHardwareId(text, *entry)) {
            return *entry;
        }
    }
    return nullptr;
}

}  // namespace

bool MatchesIdList(std::string_view text, IdList list) {
    return FindListEntry(text, list) != nullptr;
}

GroupEntry FindGroupEntry(std::string_view text, const DriveGroup& group) {
    for (IdList list : group.lists) {
        if (list == nullptr) {
            continue;
        }
        if (const char* entry = FindListEntry(text, list)) {
            return {list, entry};
        }
    }
    return {};
}

bool MatchesGroup(std::string_view text, const DriveGroup& group) {
    return FindGroupEntry(text, group).entry != nullptr;
}

}  // namespace detect
