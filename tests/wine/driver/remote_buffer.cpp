#include "remote_buffer.h"

namespace driver {

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size)
    : process_(process),
      address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}

RemoteBuffer::~RemoteBuffer() {
    if (address_ != nullptr) {
        ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
}

bool RemoteBuffer::Write(const void* data, std::size_t size, std::size_t offset) {
    return ::WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                                nullptr) != 0;
}

bool RemoteBuffer::Read(void* data, std::size_t size, std::size_t offset) const {
    return ::ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                               nullptr) != 0;
}

}  // namespace driver
