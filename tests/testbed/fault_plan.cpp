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
    auto [first, last] = rules_.equal_range(call);
    auto rule = std::find_if(first, last, [nth](const auto& r) {
        return nth == r.second.from || (r.second.onward && nth > r.second.from);
    });
    auto overall = overall_.find(total_);
    if (overall == overall_.end() && rule == last) {
        return false;
    }
    error = overall != overall_.end() ? overall->second : rule->second.error;
    Note(std::string(CallName(call)) + " #" + std::to_string(nth));
    return true;
}

unsigned FaultPlan::Limit(Call call, unsigned count) {
    const auto& limits = call == Call::Read ? shortReads_ : shortWrites_;
    const int nth = Count(call);
    auto it = limits.find(nth);
    if ((call != Call::Read && call != Call::Write) || it == limits.end() || it->second >= count) {
        return count;
    }
    Note(std::string("short ") + CallName(call) + " #" + std::to_string(nth));
    return it->second;
}

void FaultPlan::Note(const std::string& what) {
    injected_ += (injected_.empty() ? "" : ", ") + what;
}

}  // namespace testbed
