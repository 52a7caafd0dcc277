#include <string>

#include "platform/win32/windows_api.h"
#include "probe_checks.h"

namespace probe {
namespace {

// What the watcher saw of a message box, and the button it pressed.
struct SeenBox {
    SeenBox(const char* boxCaption, int buttonToPress)
        : caption(boxCaption), button(buttonToPress) {}

    const char* caption;
    int button;
    bool found = false;
    std::string text;
    HWND owner = nullptr;
    HICON icon = nullptr;
};

BOOL CALLBACK FindIcon(HWND child, LPARAM seen) {
    if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        reinterpret_cast<SeenBox*>(seen)->icon =
            reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    }
    return TRUE;
}

// Waits up to ten seconds for the box, reads it and presses the button.
DWORD WINAPI Watch(LPVOID parameter) {
    SeenBox& seen = *static_cast<SeenBox*>(parameter);
    for (int tries = 0; tries < 200 && !seen.found; ++tries) {
        HWND box = ::FindWindowA("#32770", seen.caption);
        if (box == nullptr || !::IsWindowVisible(box)) {
            ::Sleep(50);
            continue;
        }
        char text[512] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seen.text = text;
        seen.owner = ::GetWindow(box, GW_OWNER);
        ::EnumChildWindows(box, FindIcon, reinterpret_cast<LPARAM>(&seen));
        seen.found = true;
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(seen.button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, seen.button)));
    }
    return 0;
}

HANDLE StartWatching(SeenBox& seen) {
    return ::CreateThread(nullptr, 0, Watch, &seen, 0, nullptr);
}

void StopWatching(HANDLE watcher) {
    ::WaitForSingleObject(watcher, INFINITE);
    ::CloseHandle(watcher);
}

// A plain top-level window that the application shows, to own the boxes.
HWND ShowOwnerWindow() {
    return ::CreateWindowExA(0, "STATIC", "Seam Probe Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                             40, 300, 120, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

void CheckBoxes(platform::UserInterface& ui, Report& report) {
    HWND owner = ShowOwnerWindow();
    ::SetActiveWindow(owner);
    report.Expect("the probe's window is the active one", ::GetActiveWindow() == owner);

    SeenBox plain{kProbeTitle, IDOK};
    HANDLE watcher = StartWatching(plain);
    int answer = ui.AfxMessageBox("Unable To Continue Installation!\r\nGood Bye!", win::kMbOk);
    StopWatching(watcher);
    report.Expect("AfxMessageBox is captioned with the application's title", plain.found);
    report.Expect("AfxMessageBox shows the text",
                  plain.text == "Unable To Continue Installation!\r\nGood Bye!",
                  Escaped(plain.text));
    report.Expect("AfxMessageBox is owned by the active window", plain.owner == owner);
    report.Expect("AfxMessageBox gives an OK box the framework's exclamation mark",
                  plain.icon == ::LoadIconA(nullptr, IDI_EXCLAMATION));
    report.Expect("AfxMessageBox answers IDOK", answer == win::kIdOk, std::to_string(answer));

    SeenBox question{"Overwrite", IDNO};
    watcher = StartWatching(question);
    answer =
        ui.MessageBoxA("E:\\Stashwell.exe \r\nalready exist!  Delete this file before Installing?",
                       "Overwrite", win::kMbYesNo | win::kMbIconQuestion);
    StopWatching(watcher);
    report.Expect("MessageBoxA shows the given caption and text",
                  question.found && question.text.starts_with("E:\\Stashwell.exe \r\nalready"),
                  Escaped(question.text));
    report.Expect("MessageBoxA keeps the given icon",
                  question.icon == ::LoadIconA(nullptr, IDI_QUESTION));
    report.Expect("MessageBoxA answers IDNO when No is pressed", answer == win::kIdNo,
                  std::to_string(answer));
    ::DestroyWindow(owner);
}

void CheckWaitCursor(platform::UserInterface& ui, Report& report) {
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    ::SetCursor(arrow);
    ui.BeginWaitCursor();
    bool shown = ::GetCursor() == wait;
    ui.BeginWaitCursor();
    ui.EndWaitCursor();
    bool kept = ::GetCursor() == wait;
    ui.EndWaitCursor();
    bool restored = ::GetCursor() == arrow;
    ui.EndWaitCursor();
    bool unmatchedIgnored = ::GetCursor() == arrow;
    report.Expect("BeginWaitCursor shows the wait cursor", shown);
    report.Expect("a nested EndWaitCursor keeps it", kept);
    report.Expect("the outermost EndWaitCursor restores the cursor before", restored);
    report.Expect("an unmatched EndWaitCursor changes nothing", unmatchedIgnored);
}

}  // namespace

void CheckUserInterface(platform::UserInterface& ui, Report& report) {
    CheckBoxes(ui, report);
    CheckWaitCursor(ui, report);
}

}  // namespace probe
