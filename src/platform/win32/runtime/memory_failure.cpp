#include "platform/win32/runtime/runtime.h"
#include "platform/win32/windows_api.h"

namespace platform::win32::runtime {

namespace {

const char* g_caption = nullptr;

}  // namespace

void SetMemoryFailureCaption(const char* caption) {
    g_caption = caption;
}

void FailForMemory() {
    ::MessageBoxA(::GetActiveWindow(), "Not enough dynamic memory to perform operation!", g_caption,
                  MB_OK | MB_ICONHAND);
    EndProcess(0);
}

void EndProcess(int status) {
    ::ExitProcess(static_cast<UINT>(status));
}

}  // namespace platform::win32::runtime
