// What every implementation of the platform seam must do, with no test framework:
// GoogleTest drives it on the hosted machine, the seam probe on Windows under Wine.
#pragma once
#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace contract {
struct Checks {
    virtual ~Checks() = default;
    // what: the check's text and, when it failed, what was seen.
    virtual void Report(bool passed, const char* file, int line, const std::string& what) = 0;
    void Equal(const char* file, int line, const char* text, const std::string& seen,
               const std::string& wanted) {
        Report(seen == wanted, file, line, text + (": " + seen) + ", not " + wanted);
    }
    // A value as CHECK_EQ compares and shows it.
    static std::string Shown(long long value) { return std::to_string(value); }
    static std::string Shown(const std::string& text) { return "\"" + text + "\""; }
};
struct Seam {
    platform::FileSystem& files;
    platform::Registry& registry;
    platform::System& system;
};
// The machine that the checks expect; its registry holds contract-machine.reg.
struct Fixture {
    char drive;                    // writable; the registry's mount data names it
    std::uint32_t platformId;      // of GetVersionExA
    std::string currentDirectory;  // of GetCurrentDirectoryA
    bool searchIsSorted;           // folder searches list names sorted, ignoring case
    std::string Folder() const { return std::string(1, drive) + ":\\contract"; }
};
void CheckFiles(Checks& checks, Seam& seam, const Fixture& fixture);
void CheckFolderSearch(Checks& checks, Seam& seam, const Fixture& fixture);
void CheckRegistry(Checks& checks, Seam& seam, const Fixture& fixture);
void CheckSystem(Checks& checks, Seam& seam, const Fixture& fixture);
// How a call ended: "ok", or "error N" with the last error that it left.
inline std::string Outcome(platform::System& system, bool succeeded) {
    return succeeded ? "ok" : "error " + std::to_string(system.GetLastError());
}
}  // namespace contract

// These expect a Checks named checks in scope, CHECK_ERROR a Seam named seam.
#define CHECK_TRUE(condition) checks.Report(condition, __FILE__, __LINE__, #condition)
#define CHECK_EQ(seen, wanted) \
    checks.Equal(__FILE__, __LINE__, #seen, checks.Shown(seen), checks.Shown(wanted))
#define CHECK_ERROR(succeeded, code) \
    CHECK_EQ(::contract::Outcome(seam.system, succeeded), "error " + std::to_string(code))
