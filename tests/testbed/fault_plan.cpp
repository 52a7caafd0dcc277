#include "testbed/fault_plan.h"

#include <iterator>

namespace testbed {

const char* CallName(Call call) {
    static constexpr const char* kNames[] = {"OpenRead",
                                             "CreateExclusive",
                                             "Read",
                                             "Seek",
                                             "Write",
                                             "Close",
                                             "GetFileLength",
                                             "GetFileAttributes",
                                             "SetFileAttributes",
                                             "DeleteFile",
                                             "CreateDirectory",
                                             "RemoveDirectory",
                                             "PathFileExists",
                                             "PathIsDirectory",
                                             "FindFile",
                                             "FindNextFile",
                                             "RegOpenKey",
                                             "RegQueryValue",
                                             "RegEnumKey",
                                             "GetVersion",
                                             "GetCurrentDirectory",
                                             "GetModuleFileName",
                                             "WideCharToMultiByte"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(Call::kCount));
    return kNames[static_cast<int>(call)];
}

void FaultPlan::FailNth(Call call, int nth, std::uint32_t error) {
    rules_.emplace(call, Rule{nth, false, error});
}

void FaultPlan::FailFrom(Call call, int nth, std::uint32_t error) {
    rules_.emplace(call, Rule{nth, true, error});
}

void FaultPlan::FailNthOverall(int nth, std::uint32_t error) {
    overall_[nth] = error;
}

void FaultPlan::ShortRead(int nth, unsigned bytes) {
    shortReads_[nth] = bytes;
}

void FaultPlan::ShortWrite(int nth, unsigned bytes) {
    shortWrites_[nth] = bytes;
}

bool FaultPlan::ShouldFail(Call call, std::uint32_t& error) {
    const int nth = ++counts_[static_cast<int>(call)];
    ++total_;
    const std::string name = std::string(CallName(call)) + " #" + std::to_string(nth);
    if (auto it = overall_.find(total_); it != overall_.end()) {
        error = it->second;
        Note(name);
        return true;
    }
    auto [first, last] = rules_.equal_range(call);
    for (auto it = first; it != last; ++it) {
        const Rule& rule = it->second;
        if (nth == rule.from || (rule.onward && nth > rule.from)) {
            error = rule.error;
            Note(name);
            return true;
        }
    }
    return false;
}

bool FaultPlan::Fails(Call call, platform::System& system) {
    std::uint32_t error = 0;
    if (!ShouldFail(call, error)) {
        return false;
    }
    system.SetLastError(error);
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

int FaultPlan::Count(Call call) const {
    return counts_[static_cast<int>(call)];
}

void FaultPlan::Note(const std::string& what) {
    if (!injected_.empty()) {
        injected_ += ", ";
    }
    injected_ += what;
}

}  // namespace testbed
