// operator new and delete over the process heap. No plain allocation
// returns without memory: a failing one ends the process after the memory
// box.
//
// Built with STASHWELL_ALLOCATION_FAULTS (the test build only), the
// allocation whose number, counted from 1, the environment variable
// STASHWELL_FAIL_ALLOCATION gives fails as if the heap were exhausted.
#include <cstddef>
#include <new>

#include "platform/win32/runtime/runtime.h"
#include "platform/win32/windows_api.h"

namespace {

#ifdef STASHWELL_ALLOCATION_FAULTS
// 0: no allocation fails.
unsigned long FailingAllocation() {
    char text[16] = {};
    const DWORD length = ::GetEnvironmentVariableA("STASHWELL_FAIL_ALLOCATION", text, sizeof text);
    unsigned long number = 0;
    for (DWORD i = 0; i < length && i < sizeof text && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + static_cast<unsigned long>(text[i] - '0');
    }
    return number;
}

bool ForcedToFail() {
    static const unsigned long failing = FailingAllocation();
    static unsigned long count = 0;
    return ++count == failing;
}
#else
constexpr bool ForcedToFail() {
    return false;
}
#endif

// Null when the heap has no room.
void* TryToAllocate(std::size_t size) {
    return ForcedToFail() ? nullptr : ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1);
}

void* Allocate(std::size_t size) {
    void* block = TryToAllocate(size);
    if (block == nullptr) {
        platform::win32::runtime::FailForMemory();
    }
    return block;
}

void Release(void* block) {
    if (block != nullptr) {
        ::HeapFree(::GetProcessHeap(), 0, block);
    }
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

// As malloc does, the nothrow forms give null when the heap has no room.
const std::nothrow_t std::nothrow{};

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return TryToAllocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return TryToAllocate(size);
}

void operator delete(void* block) noexcept {
    Release(block);
}

void operator delete[](void* block) noexcept {
    Release(block);
}

void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    Release(block);
}
