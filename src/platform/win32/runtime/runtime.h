// The installer's own run-time support on Windows: what the compiler and the
// standard headers need beside the system's DLLs (entry point, heap, string
// and memory functions, the C++ support calls). This header holds what the
// installer itself calls.
#pragma once

namespace platform::win32::runtime {

// The caption of the box that a failing allocation shows: the application's
// title. The text must outlive every allocation; until it is given, the box
// has the system's default caption.
void SetMemoryFailureCaption(const char* caption);

// Shows "Not enough dynamic memory to perform operation!" (MB_OK |
// MB_ICONHAND) with that caption and ends the process with exit status 0.
[[noreturn]] void FailForMemory();

// Ends the process at once with the status, as exit() does.
[[noreturn]] void EndProcess(int status);

}  // namespace platform::win32::runtime
