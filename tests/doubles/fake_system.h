// The system facts of a simulated machine, set by the test.
#pragma once

#include <cstdint>
#include <string>

#include "doubles/fault_plan.h"
#include "platform/hosted/last_error.h"
#include "platform/system.h"

namespace doubles {

class FakeSystem : public platform::System {
  public:
    FakeSystem(hosted::LastError& lastError, FaultPlan& faults);

    std::uint32_t platformId = 2;  // NT family
    std::string currentDirectory = "C:\\";
    std::string moduleFileName = "C:\\Setup\\StashwellSetup.exe";
    std::uint32_t logicalDrives = 1u << 2;  // C:
    // The current directory can be sized (a call with too little room) but
    // not read (a call with room fails with ERROR_ACCESS_DENIED).
    bool currentDirectoryUnreadable = false;

    bool GetVersionExA(std::uint32_t& id) override;
    std::uint32_t GetCurrentDirectoryA(std::uint32_t size, char* buffer) override;
    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
    std::uint32_t GetLogicalDrives() override;
    int WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                            int targetSize) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t code) override;
    std::string FormatMessageA(std::uint32_t code) override;

  private:
    hosted::LastError& lastError_;
    FaultPlan& faults_;
};

}  // namespace doubles
