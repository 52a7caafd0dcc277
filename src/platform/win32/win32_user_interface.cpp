#include "platform/win32/win32_user_interface.h"

#include <utility>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

Win32UserInterface::Win32UserInterface(std::string title) : title_(std::move(title)) {}

namespace {

// Like the framework's boxes, an OK or Yes/No box given no icon shows the
// exclamation mark.
unsigned WithDefaultIcon(unsigned type) {
    if ((type & MB_ICONMASK) != 0) {
        return type;
    }
    switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return type | MB_ICONEXCLAMATION;
        default:
            return type;
    }
}

}  // namespace

int Win32UserInterface::AfxMessageBox(const std::string& text, unsigned type) {
    return MessageBoxA(text, title_, WithDefaultIcon(type));
}

int Win32UserInterface::MessageBoxA(const std::string& text, const std::string& caption,
                                    unsigned type) {
    return ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(), type);
}

void Win32UserInterface::BeginWaitCursor() {
    HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR previous = ::SetCursor(wait);
    if (waitDepth_++ == 0) {
        cursorBeforeWait_ = previous;
    }
}

void Win32UserInterface::EndWaitCursor() {
    if (waitDepth_ == 0) {
        return;
    }
    if (--waitDepth_ == 0) {
        ::SetCursor(static_cast<HCURSOR>(cursorBeforeWait_));
    }
}

}  // namespace platform::win32
