#include "testbed/fault_plan.h"

#include <algorithm>

namespace testbed {

#define TESTBED_TEXT(...) #__VA_ARGS__
#define TESTBED_NAMES(...) TESTBED_TEXT(__VA_ARGS__)

std::string CallName(Call call) {
    std::string names = TESTBED_NAMES(TESTBED_CALLS) ",";
    for (int k = 0; k < static_cast<int>(call); ++k) {
        names.erase(0, names.find(',') + 2);
    }
    return names.substr(0, names.find(','));
}

bool FaultPlan::ShouldFail(Call call, std::uint32_t& error) {
    const int nth = ++counts_[static_cast<int>(call)];
    ++total_;
    auto rule = std::find_if(rules_.begin(), rules_.end(), [&](const Rule& r) {
        const int n = r.overall ? total_ : nth;
        return (r.overall || r.call == call) && (n == r.from || (r.onward && n > r.from));
    });
    if (rule == rules_.end()) {
        return false;
    }
    error = rule->error;
    Note(CallName(call) + " #" + std::to_string(nth));
    return true;
}

unsigned FaultPlan::Limit(Call call, unsigned count) {
    auto it = shorts_.find({call, Count(call)});
    if (it == shorts_.end() || it->second >= count) {
        return count;
    }
    Note("short " + CallName(call) + " #" + std::to_string(Count(call)));
    return it->second;
}

}  // namespace testbed
