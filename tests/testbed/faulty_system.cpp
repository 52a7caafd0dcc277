#include "testbed/faulty_system.h"

namespace testbed {

FaultySystem::FaultySystem(platform::System& inner, FaultPlan& faults)
    : inner_(inner), faults_(faults) {}

bool FaultySystem::GetVersionExA(std::uint32_t& platformId) {
    return !faults_.Fails(Call::GetVersion, inner_) && inner_.GetVersionExA(platformId);
}

std::uint32_t FaultySystem::GetCurrentDirectoryA(std::uint32_t size, char* buffer) {
    return faults_.Fails(Call::GetCurrentDirectory, inner_)
               ? 0
               : inner_.GetCurrentDirectoryA(size, buffer);
}

std::uint32_t FaultySystem::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    return faults_.Fails(Call::GetModuleFileName, inner_) ? 0
                                                          : inner_.GetModuleFileNameA(buffer, size);
}

std::uint32_t FaultySystem::GetLogicalDrives() {
    return inner_.GetLogicalDrives();
}

int FaultySystem::WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                                      int targetSize) {
    return faults_.Fails(Call::WideCharToMultiByte, inner_)
               ? 0
               : inner_.WideCharToMultiByte(source, count, target, targetSize);
}

std::uint32_t FaultySystem::GetLastError() {
    return inner_.GetLastError();
}

void FaultySystem::SetLastError(std::uint32_t code) {
    inner_.SetLastError(code);
}

std::string FaultySystem::FormatMessageA(std::uint32_t code) {
    return inner_.FormatMessageA(code);
}

}  // namespace testbed
