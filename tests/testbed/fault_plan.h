// Which call of which kind fails, and which reads and writes come up short.
// Every call through a faulty wrapper is counted here, so a test can also
// sweep "fail the Nth call of all".
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/system.h"

namespace testbed {

// The kinds of call that a plan counts and fails.
#define TESTBED_CALLS                                                                      \
    OpenRead, CreateExclusive, Read, Seek, Write, Close, GetFileLength, GetFileAttributes, \
        SetFileAttributes, DeleteFile, CreateDirectory, RemoveDirectory, PathFileExists,   \
        PathIsDirectory, FindFile, FindNextFile, RegOpenKey, RegQueryValue, RegEnumKey,    \
        GetVersion, GetCurrentDirectory, GetModuleFileName, WideCharToMultiByte
enum class Call { TESTBED_CALLS, kCount };

#define TESTBED_TEXT(...) #__VA_ARGS__
#define TESTBED_NAMES(...) TESTBED_TEXT(__VA_ARGS__)

inline std::string CallName(Call call) {
    std::string names = TESTBED_NAMES(TESTBED_CALLS) ",";
    for (int k = 0; k < static_cast<int>(call); ++k) {
        names.erase(0, names.find(',') + 2);
    }
    return names.substr(0, names.find(','));
}

using ErrorCode = std::uint32_t;

class FaultPlan {
  public:
    // The nth (1-based) call of this kind fails with code; or every call
    // from the nth on.
    void FailNth(Call call, int nth, ErrorCode code) { rules_.push_back({call, nth, false, code}); }
    void FailFrom(Call call, int nth, ErrorCode code) { rules_.push_back({call, nth, true, code}); }
    // The nth call counted over all kinds fails with error.
    void FailNthOverall(int nth, ErrorCode code) {
        rules_.push_back({Call::kCount, nth, false, code, true});
    }
    // The nth Read returns at most bytes (0: the file seems to end there);
    // the nth Write writes at most bytes.
    void ShortRead(int nth, unsigned bytes) { shorts_[{Call::Read, nth}] = bytes; }
    void ShortWrite(int nth, unsigned bytes) { shorts_[{Call::Write, nth}] = bytes; }

    // Used by the wrappers: counts the call and tells whether it must fail.
    bool ShouldFail(Call call, ErrorCode& error) {
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
    // The same, making the error the system's last error.
    bool Fails(Call call, platform::System& system) {
        ErrorCode error = 0;
        return ShouldFail(call, error) && (system.SetLastError(error), true);
    }
    // Used by Read and Write after ShouldFail: the count to transfer.
    unsigned Limit(Call call, unsigned count) {
        auto it = shorts_.find({call, Count(call)});
        if (it == shorts_.end() || it->second >= count) {
            return count;
        }
        Note("short " + CallName(call) + " #" + std::to_string(Count(call)));
        return it->second;
    }

    int Count(Call call) const { return counts_[static_cast<int>(call)]; }
    int Total() const { return total_; }
    // What was injected, for test messages: "Write #3", "short Read #2",
    // several joined by ", ", or empty.
    const std::string& Injected() const { return injected_; }

  private:
    struct Rule {
        Call call;
        int from;
        bool onward;
        ErrorCode error;
        bool overall = false;  // from counts the calls of all kinds
    };
    std::vector<Rule> rules_;
    std::map<std::pair<Call, int>, unsigned> shorts_;
    std::array<int, static_cast<int>(Call::kCount)> counts_{};
    int total_ = 0;
    std::string injected_;

    void Note(const std::string& what) { injected_ += (injected_.empty() ? "" : ", ") + what; }
};

}  // namespace testbed
