// System facts passed on from another implementation, with the calls that a
// FaultPlan picks failing. GetLogicalDrives and the last error never fail.
#pragma once

#include "platform/system.h"
#include "testbed/fault_plan.h"

namespace testbed {

class FaultySystem : public platform::System {
  public:
    FaultySystem(platform::System& inner, FaultPlan& faults);

    bool GetVersionExA(std::uint32_t& platformId) override;
    std::uint32_t GetCurrentDirectoryA(std::uint32_t size, char* buffer) override;
    std::uint32_t GetModuleFileNameA(char* buffer, std::uint32_t size) override;
    std::uint32_t GetLogicalDrives() override;
    int WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                            int targetSize) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t code) override;
    std::string FormatMessageA(std::uint32_t code) override;

  private:
    platform::System& inner_;
    FaultPlan& faults_;
};

}  // namespace testbed
