// Which call of which kind fails, and which reads and writes come up short.
// Every call through a faulty wrapper is counted here, so a test can also
// sweep "fail the Nth call of all".
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "platform/system.h"

namespace testbed {

#define TESTBED_CALLS(X)                                                                         \
    X(OpenRead)                                                                                  \
    X(CreateExclusive)                                                                           \
    X(Read)                                                                                      \
    X(Seek)                                                                                      \
    X(Write)                                                                                     \
    X(Close)                                                                                     \
    X(GetFileLength)                                                                             \
    X(GetFileAttributes)                                                                         \
    X(SetFileAttributes)                                                                         \
    X(DeleteFile)                                                                                \
    X(CreateDirectory)                                                                           \
    X(RemoveDirectory)                                                                           \
    X(PathFileExists) X(PathIsDirectory) X(FindFile) X(FindNextFile) X(RegOpenKey)               \
        X(RegQueryValue) X(RegEnumKey) X(GetVersion) X(GetCurrentDirectory) X(GetModuleFileName) \
            X(WideCharToMultiByte)
#define TESTBED_CALL(name) name,
enum class Call { TESTBED_CALLS(TESTBED_CALL) kCount };
#undef TESTBED_CALL

const char* CallName(Call call);

class FaultPlan {
  public:
    // The nth (1-based) call of this kind fails with error; or every call
    // from the nth on.
    void FailNth(Call call, int nth, std::uint32_t error) {
        rules_.emplace(call, Rule{nth, false, error});
    }
    void FailFrom(Call call, int nth, std::uint32_t error) {
        rules_.emplace(call, Rule{nth, true, error});
    }
    // The nth call counted over all kinds fails with error.
    void FailNthOverall(int nth, std::uint32_t error) { overall_[nth] = error; }
    // The nth Read returns at most bytes (0: the file seems to end there);
    // the nth Write writes at most bytes.
    void ShortRead(int nth, unsigned bytes) { shortReads_[nth] = bytes; }
    void ShortWrite(int nth, unsigned bytes) { shortWrites_[nth] = bytes; }

    // Used by the wrappers: counts the call and tells whether it must fail.
    bool ShouldFail(Call call, std::uint32_t& error);
    // The same, making the error the system's last error.
    bool Fails(Call call, platform::System& system) {
        std::uint32_t error = 0;
        return ShouldFail(call, error) && (system.SetLastError(error), true);
    }
    // What the wrappers return: failed when the call must fail, else pass().
    template <class T, class Pass>
    T Or(Call call, platform::System& system, T failed, Pass&& pass) {
        return Fails(call, system) ? failed : pass();
    }
    // The same for the registry, whose calls return the error.
    template <class Pass>
    std::uint32_t Or(Call call, Pass&& pass) {
        std::uint32_t error = 0;
        return ShouldFail(call, error) ? error : pass();
    }
    // Used by Read and Write after ShouldFail: the count to transfer.
    unsigned Limit(Call call, unsigned count);

    int Count(Call call) const { return counts_[static_cast<int>(call)]; }
    int Total() const { return total_; }
    // What was injected, for test messages: "Write #3", "short Read #2",
    // several joined by ", ", or empty.
    const std::string& Injected() const { return injected_; }

  private:
    struct Rule {
        int from;
        bool onward;
        std::uint32_t error;
    };
    std::multimap<Call, Rule> rules_;
    std::map<int, std::uint32_t> overall_;
    std::map<int, unsigned> shortReads_;
    std::map<int, unsigned> shortWrites_;
    std::array<int, static_cast<int>(Call::kCount)> counts_{};
    int total_ = 0;
    std::string injected_;

    void Note(const std::string& what);
};

}  // namespace testbed
