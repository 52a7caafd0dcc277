#include "platform/hosted/hosted_system.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/hosted/codepage_1252.h"
#include "platform/hosted/error_text.h"

namespace hosted {

std::string HostExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

HostedSystem::HostedSystem(const DriveMap& drives, LastError& lastError, MachineFacts facts)
    : drives_(drives), lastError_(lastError), facts_(std::move(facts)) {}

std::uint32_t HostedSystem::Fail(std::uint32_t code) {
    lastError_.Set(code);
    return 0;
}

bool HostedSystem::GetVersionExA(std::uint32_t& platformId) {
    if (!facts_.platformId) {
        lastError_.Set(win::kErrorInvalidParameter);
        return false;
    }
    platformId = *facts_.platformId;
    return true;
}

std::uint32_t HostedSystem::GetCurrentDirectoryA(std::uint32_t size, char* buffer) {
    const std::string& directory = facts_.currentDirectory;
    const auto length = static_cast<std::uint32_t>(directory.size());
    if (facts_.currentDirectoryMode == CurrentDirectoryMode::Failing) {
        return Fail(facts_.currentDirectoryError);
    }
    if (size <= length) {
        return length + 1;
    }
    if (facts_.currentDirectoryMode == CurrentDirectoryMode::SizeOnly) {
        return Fail(facts_.currentDirectoryError);
    }
    if (buffer == nullptr) {
        return Fail(win::kErrorInvalidParameter);
    }
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

std::uint32_t HostedSystem::GetModuleFileNameA(char* buffer, std::uint32_t size) {
    const std::string& path = facts_.modulePath;
    if (path.empty()) {
        return Fail(win::kErrorFileNotFound);
    }
    if (buffer == nullptr || size == 0) {
        return Fail(win::kErrorInsufficientBuffer);
    }
    const auto length = static_cast<std::uint32_t>(path.size());
    const std::uint32_t copied = std::min(length, size - 1);
    std::memcpy(buffer, path.data(), copied);
    buffer[copied] = '\0';
    if (copied < length) {
        lastError_.Set(win::kErrorSuccess);
        return size;
    }
    return length;
}

std::uint32_t HostedSystem::GetLogicalDrives() {
    return drives_.MappedLetters() | (1u << ('C' - 'A'));
}

int HostedSystem::WideCharToMultiByte(const std::uint16_t* source, int count, char* target,
                                      int targetSize) {
    if (source == nullptr || count == 0 || count < -1 || targetSize < 0 ||
        (targetSize > 0 && target == nullptr)) {
        return static_cast<int>(Fail(win::kErrorInvalidParameter));
    }
    std::size_t units = static_cast<std::size_t>(count);
    if (count == -1) {
        units = 0;
        while (source[units++] != 0) {
        }
    }
    std::string converted;
    for (std::size_t index = 0; index < units; ++index) {
        converted += ToWindows1252(source[index]).value_or('?');
    }
    const auto needed = static_cast<int>(converted.size());
    if (targetSize == 0) {
        return needed;
    }
    std::memcpy(target, converted.data(), static_cast<std::size_t>(std::min(needed, targetSize)));
    return needed <= targetSize ? needed : static_cast<int>(Fail(win::kErrorInsufficientBuffer));
}

std::uint32_t HostedSystem::GetLastError() {
    return lastError_.Get();
}

void HostedSystem::SetLastError(std::uint32_t code) {
    lastError_.Set(code);
}

std::string HostedSystem::FormatMessageA(std::uint32_t code) {
    return SystemMessageText(code);
}

}  // namespace hosted
