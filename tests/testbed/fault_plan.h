// Fault injection around the platform seam: which call of which kind fails,
// and which reads and writes come up short. Every call that goes through a
// faulty wrapper is counted here, so a test can also sweep "fail the Nth call
// of all".
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "platform/system.h"

namespace testbed {

enum class Call {
    OpenRead,
    CreateExclusive,
    Read,
    Seek,
    Write,
    Close,
    GetFileLength,
    GetFileAttributes,
    SetFileAttributes,
    DeleteFile,
    CreateDirectory,
    RemoveDirectory,
    PathFileExists,
    PathIsDirectory,
    FindFile,
    FindNextFile,
    RegOpenKey,
    RegQueryValue,
    RegEnumKey,
    GetVersion,
    GetCurrentDirectory,
    GetModuleFileName,
    WideCharToMultiByte,
    kCount,
};

const char* CallName(Call call);

class FaultPlan {
  public:
    // The nth (1-based) call of this kind fails with error.
    void FailNth(Call call, int nth, std::uint32_t error);
    // Every call of this kind from the nth on fails with error.
    void FailFrom(Call call, int nth, std::uint32_t error);
    // The nth call counted over all kinds fails with error.
    void FailNthOverall(int nth, std::uint32_t error);
    // The nth Read returns at most bytes (0: the file seems to end there).
    void ShortRead(int nth, unsigned bytes);
    // The nth Write writes at most bytes.
    void ShortWrite(int nth, unsigned bytes);

    // Used by the wrappers: counts the call and tells whether it must fail.
    bool ShouldFail(Call call, std::uint32_t& error);
    // The same, making the error the system's last error.
    bool Fails(Call call, platform::System& system);
    // Used by Read and Write after ShouldFail: the count to transfer.
    unsigned Limit(Call call, unsigned count);

    int Count(Call call) const;
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
