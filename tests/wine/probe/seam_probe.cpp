// Runs the platform contract and the checks of what only Windows has against
// the live system, on the machine that tests/wine/probe.sh prepares, and
// prints each failed check and the counts. Usage: seam-probe PLATFORM_ID DRIVE
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "contract.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "platform/win_constants.h"

namespace {

constexpr char kTitle[] = "Seam Probe";

// What the seam's two opens of the path meet while another handle holds it
// open with the sharing given: the run-time's open shares the file for
// reading and writing, the framework's (the length) with nobody.
std::string OpensWhileHeld(contract::Seam& seam, const std::string& path, DWORD sharing) {
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    const int handle = seam.files.OpenRead(path);
    std::string seen = "_open " + contract::Outcome(seam.system, handle >= 0);
    seam.files.Close(handle);
    std::uint64_t length = 0;
    seen += ", CFile " + contract::Outcome(seam.system, seam.files.GetFileLength(path, length));
    ::CloseHandle(other);
    return seen;
}

struct Box {
    HWND owner;
    std::string seen = "no box";
};

BOOL CALLBACK NoteIcon(HWND child, LPARAM box) {
    const bool icon = (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (icon && ::SendMessageA(child, STM_GETICON, 0, 0) ==
                    reinterpret_cast<LRESULT>(::LoadIconA(nullptr, IDI_EXCLAMATION))) {
        reinterpret_cast<Box*>(box)->seen += " !";
    }
    return TRUE;
}

// Waits up to ten seconds for the box captioned kTitle, notes whether the
// owner given owns it and whether it shows the exclamation mark, presses OK.
DWORD WINAPI AnswerBox(LPVOID parameter) {
    Box& box = *static_cast<Box*>(parameter);
    for (int tries = 0; tries < 200; ++tries, ::Sleep(50)) {
        HWND window = ::FindWindowA("#32770", kTitle);
        if (window != nullptr && ::IsWindowVisible(window)) {
            box.seen = ::GetWindow(window, GW_OWNER) == box.owner ? "owned" : "not owned";
            ::EnumChildWindows(window, NoteIcon, reinterpret_cast<LPARAM>(&box));
            ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            return 0;
        }
    }
    return 0;
}

std::string Resource(int id, int type) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
    const auto* data = static_cast<const char*>(::LockResource(::LoadResource(nullptr, found)));
    return found != nullptr && data != nullptr ? std::string(data, ::SizeofResource(nullptr, found))
                                               : "";
}

// What only Windows has, with no hosted counterpart: another program's
// sharing of a file, the framework's boxes and wait cursor, and the
// installer's version and manifest as the system loads them. Makes the
// folder (which must not exist) and removes it again.
void CheckWindowsOnly(contract::Checks& checks, contract::Seam& seam, platform::UserInterface& ui,
                      const std::string& folder) {
    const std::string path = folder + "\\shared.bin";
    CHECK_TRUE(seam.files.CreateDirectoryA(folder) &&
               seam.files.Close(seam.files.CreateExclusive(path)) == 0);
    CHECK_EQ(OpensWhileHeld(seam, path, FILE_SHARE_READ | FILE_SHARE_WRITE),
             "_open ok, CFile error 32");
    CHECK_EQ(OpensWhileHeld(seam, path, 0), "_open error 32, CFile error 32");
    CHECK_TRUE(seam.files.DeleteFileA(path) && seam.files.RemoveDirectoryA(folder));

    Box box{::CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                              120, nullptr, nullptr, nullptr, nullptr)};
    ::SetActiveWindow(box.owner);
    HANDLE watcher = ::CreateThread(nullptr, 0, AnswerBox, &box, 0, nullptr);
    CHECK_EQ(ui.AfxMessageBox("Unable To Continue Installation!", win::kMbOk), win::kIdOk);
    ::WaitForSingleObject(watcher, INFINITE);
    CHECK_EQ(box.seen, "owned !");  // the active window's, with the framework's default icon
    ::DestroyWindow(box.owner);

    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW), wait = ::LoadCursorA(nullptr, IDC_WAIT);
    ::SetCursor(arrow);
    std::string cursors;  // nested pairs keep the wait cursor, an unmatched end changes nothing
    for (const bool begin : {true, true, false, false, false}) {
        begin ? ui.BeginWaitCursor() : ui.EndWaitCursor();
        cursors += ::GetCursor() == arrow ? "arrow " : ::GetCursor() == wait ? "wait " : "? ";
    }
    CHECK_EQ(cursors, "wait wait wait arrow arrow ");

    const std::string version = Resource(1, 16);  // VS_FIXEDFILEINFO: signature, then versions
    const std::size_t at = version.find("\xBD\x04\xEF\xFE");
    CHECK_EQ(at == std::string::npos ? "" : version.substr(at + 8, 4), std::string("\1\0\1\0", 4));
    CHECK_TRUE(Resource(1, 24).find("level=\"asInvoker\"") != std::string::npos);
}

struct PrintedChecks : contract::Checks {
    void Report(bool passed, const char* file, int line, const std::string& what) override {
        ++(passed ? passed_ : failed_);
        if (!passed) {
            std::printf("FAIL %s:%d: %s\n", file, line, what.c_str());
        }
    }
    int passed_ = 0;
    int failed_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    // Folder searches list names in the order that Wine reads the host folder.
    if (argc != 3) {
        return 2;
    }
    const contract::Fixture fixture{argv[2][0], static_cast<std::uint32_t>(std::atoi(argv[1])),
                                    "C:\\probe", false};
    platform::win32::Win32Platform windows(kTitle);
    platform::Platform& os = windows.Get();
    contract::Seam seam{os.files, os.registry, os.system};
    PrintedChecks checks;
    for (auto* check : {&contract::CheckSystem, &contract::CheckRegistry, &contract::CheckFiles,
                        &contract::CheckFolderSearch}) {
        check(checks, seam, fixture);
    }
    CheckWindowsOnly(checks, seam, os.ui, fixture.Folder());
    std::printf("%d passed, %d failed\n", checks.passed_, checks.failed_);
    return checks.failed_ == 0 ? 0 : 1;
}
