// Matching a hardware ID read from the registry against the supported lists.
#pragma once

#include <string_view>

#include "detect/drive_tables.h"

namespace detect {

// True when text, brought to lower case, begins with the whole entry brought
// to lower case; whatever follows the entry in text is ignored.
bool MatchesHardwareId(std::string_view text, std::string_view entry);

// True when text matches an entry before the list's empty end entry.
bool MatchesIdList(std::string_view text, IdList list);

// The first entry of the group that text matches, with its list; null for
// both when text matches none.
struct GroupEntry {
    IdList list = nullptr;
    const char* entry = nullptr;
};
GroupEntry FindGroupEntry(std::string_view text, const DriveGroup& group);

// True when text matches any list of the group.
bool MatchesGroup(std::string_view text, const DriveGroup& group);

}  // namespace detect
