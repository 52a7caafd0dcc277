#include "doubles/fake_system.h"

#include <algorithm>
#include <cstring>

#include "platform/hosted/codepage_1252.h"
#include "platform/hosted/error_text.h"
#include "platform/win_constants.h"

namespace doubles {

FakeSystem::FakeSystem(hosted::LastError& lastError, FaultPlan& faults)
    : lastError_(lastError), faults_(faults) {}

bool FakeSystem::GetVersionExA(std::uint32_t& id) {
    if (faults_.Fails(Call::GetVersion, lastError_)) {
        return false;
    }
    id = platformId;
    return true;
}

std::uint32_t FakeSystem::GetCurrentDirectoryA(std::uint32_t size, char* buffer) {
    if (faults_.Fails(Call::GetCurrentDirectory, lastError_)) {
        return 0;
    }
    const auto needed = static_cast<std::uint32_t>(currentDirectory.size() + 1);
    if (size < needed) {
        return needed;
    }
    if (currentDirectoryUnreadable) {
        lastError_.Set(win::kErrorAccessDenied);
        return 0;
    }
    std::memcpy(buffer, currentDirectory.c_str(), needed);
    return needed - 1;
}

std::uint32_t FakeSystem::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    if (faults_.Fails(Call::GetModuleFileName, lastError_)) {
        return 0;
    }
    if (size == 0) {
        return 0;
    }
    const auto copied =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(moduleFileName.size()), size - 1);
    std::memcpy(buffer, moduleFileName.data(), copied);
    buffer[copied] = '\0';
    return copied;
}

std::uint32_t FakeSystem::GetLogicalDrives() {
    return logicalDrives;
}

int FakeSystem::WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                                    int targetSize) {
    if (faults_.Fails(Call::WideCharToMultiByte, lastError_)) {
        return 0;
    }
    if (count < 0) {
        count = 0;
        while (source[count] != 0) {
            ++count;
        }
        ++count;  // the terminator is converted too
    }
    if (targetSize == 0) {
        return count;
    }
    if (count > targetSize) {
        lastError_.Set(win::kErrorInsufficientBuffer);
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        target[i] = hosted::ToWindows1252(source[i]).value_or('?');
    }
    return count;
}

std::uint32_t FakeSystem::GetLastError() {
    return lastError_.Get();
}

void FakeSystem::SetLastError(std::uint32_t code) {
    lastError_.Set(code);
}

std::string FakeSystem::FormatMessageA(std::uint32_t code) {
    return hosted::SystemMessageText(code);
}

}  // namespace doubles
