#include "testbed/fault_plan.h"

#include <algorithm>

namespace testbed {

const char* CallName(Call call) {
#define TESTBED_CALL(name) #name,
    static constexpr const char* kNames[] = {TESTBED_CALLS(TESTBED_CALL)};
#undef TESTBED_CALL
    return kNames[static_cast<int>(call)];
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
    Note(std::string(CallName(call)) + " #" + std::to_string(nth));
    return true;
}

unsigned FaultPlan::Limit(Call call, unsigned count) {
    auto it = shorts_.find({call, Count(call)});
    if (it == shorts_.end() || it->second >= count) {
        return count;
    }
    Note(std::string("short ") + CallName(call) + " #" + std::to_string(Count(call)));
    return it->second;
}

}  // namespace testbed
