// operator new and delete over the process heap. No plain allocation
// returns without memory: a failing one ends the process after the memory
// box.
//
// Built with STASHWELL_ALLOCATION_FAULTS (the test build only), allocations
// fail as if the heap were exhausted, as the environment variable
// STASHWELL_FAIL_ALLOCATION says: a number N fails the Nth allocation
// (counted from 1), "nothrow" fails every allocation of the nothrow forms.
#include <cstddef>
#include <cstring>
#include <new>

#include "platform/win32/runtime/runtime.h"
#include "platform/win32/windows_api.h"

namespace {

enum class Form { kPlain, kNothrow };

#ifdef STASHWELL_ALLOCATION_FAULTS
struct FaultPlan {
    unsigned long failing = 0;  // 0: none
    bool nothrow = false;
};

FaultPlan ReadFaultPlan() {
    char text[16] = {};
    const DWORD length = ::GetEnvironmentVariableA("STASHWELL_FAIL_ALLOCATION", text, sizeof text);
    FaultPlan plan;
    if (length == 0 || length >= sizeof text) {
        return plan;
    }
    plan.nothrow = std::strcmp(text, "nothrow") == 0;
    for (DWORD i = 0; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        plan.failing = plan.failing * 10 + static_cast<unsigned long>(text[i] - '0');
    }
    return plan;
}

bool ForcedToFail(Form form) {
    static const FaultPlan plan = ReadFaultPlan();
    static unsigned long count = 0;
    const bool fails = ++count == plan.failing || (form == Form::kNothrow && plan.nothrow);
    if (fails) {
        // What a heap that has run out leaves for the error text.
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return fails;
}
#else
constexpr bool ForcedToFail(Form) {
    return false;
}
#endif

// Null when the heap has no room.
void* TryToAllocate(std::size_t size, Form form) {
    return ForcedToFail(form) ? nullptr : ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1);
}

void* Allocate(std::size_t size) {
    void* block = TryToAllocate(size, Form::kPlain);
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
    return TryToAllocate(size, Form::kNothrow);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return TryToAllocate(size, Form::kNothrow);
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
