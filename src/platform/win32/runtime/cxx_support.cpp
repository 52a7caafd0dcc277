// What compiled C++ calls beside the heap: the handler of a pure virtual
// call, and the functions through which the standard headers report misuse
// (built without exceptions, they end the process). A length that a string
// or vector cannot hold is reported as a memory failure.
#include "platform/win32/runtime/runtime.h"

using platform::win32::runtime::EndProcess;
using platform::win32::runtime::FailForMemory;

namespace {

// The status abort() ends a program with.
constexpr int kAbortStatus = 3;

}  // namespace

// The names are the ones that the compiler and the headers call.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl58-cpp)
extern "C" void __cxa_pure_virtual() {
    EndProcess(kAbortStatus);
}

namespace std {

void __throw_bad_alloc() {
    FailForMemory();
}

void __throw_length_error(const char*) {
    FailForMemory();
}

void __throw_out_of_range_fmt(const char*, ...) {
    EndProcess(kAbortStatus);
}

void __throw_bad_function_call() {
    EndProcess(kAbortStatus);
}

}  // namespace std
// NOLINTEND(bugprone-reserved-identifier,cert-dcl58-cpp)
