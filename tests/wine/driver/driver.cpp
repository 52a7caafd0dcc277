// The end-to-end driver: runs one scenario (see ../scenarios/README.md)
// against the installer under Wine, reading its windows and the screen as a
// person would, and writes the transcript and screenshots (PPM).
// Usage: wizard-driver SCENARIO INSTALLER TRANSCRIPT SCREENSHOT_PREFIX MACHINES
// (Windows paths). Exit status 0 when every step could be taken.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/resource_ids.h"

namespace {

constexpr std::string_view kDriverVerbs = " start picture answer regedit install cancel ";
constexpr int kMessageBoxTextId = 0xFFFF, kApplyButtonId = 0x3021;
constexpr int kBannerTop = 6;  // where the banner is drawn, below the client area's top edge
constexpr DWORD kStepDeadline = 120000;  // the longest a step may take before it counts as hung
constexpr DWORD kAnswerTimeout = 60000, kPoll = 20, kPaintPause = 150;
constexpr int kPictureAttempts = 10;

// Pixels as R, G, B bytes, row after row from the top.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
};

// "text" with backslash, quote, carriage return, line feed and tab escaped.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto at = std::string_view("\\\"\r\n\t").find(c);
        quoted +=
            at == std::string_view::npos ? std::string(1, c) : std::string{'\\', "\\\"rnt"[at]};
    }
    return quoted + "\"";
}

// A window's text, as another process reads it.
std::string WindowText(HWND window) {
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// A bitmap's pixels through a 24-bit top-down DIB (rows of blue, green, red,
// padded to 4 bytes); deletes the bitmap.
Picture PixelsOf(HBITMAP bitmap) {
    BITMAP size{};
    ::GetObjectA(bitmap, sizeof size, &size);
    Picture picture{size.bmWidth, size.bmHeight, {}};
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof info.bmiHeader, size.bmWidth, -size.bmHeight, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (size.bmWidth * 3 + 3) & ~3;
    std::vector<std::uint8_t> dib(static_cast<std::size_t>(stride) * size.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, size.bmHeight, dib.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(bitmap);
    for (int y = 0; y < size.bmHeight; ++y) {
        for (int x = 0; x < size.bmWidth; ++x) {
            const std::uint8_t* pixel = &dib[static_cast<std::size_t>(y) * stride + 3 * x];
            picture.rgb.insert(picture.rgb.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    return picture;
}

// The whole virtual display.
Picture CaptureScreen() {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return PixelsOf(bitmap);
}

// A bitmap resource of an executable file; empty when it has none.
Picture BitmapResource(const std::string& executable, int id) {
    HMODULE module = ::LoadLibraryExA(executable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HANDLE bitmap = module == nullptr ? nullptr
                                      : ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0,
                                                     0, LR_CREATEDIBSECTION);
    Picture picture = bitmap != nullptr ? PixelsOf(static_cast<HBITMAP>(bitmap)) : Picture{};
    if (module != nullptr) {
        ::FreeLibrary(module);
    }
    return picture;
}

// A binary PPM file (P6, 8-bit RGB); false when it cannot be written.
bool WritePpm(const std::string& path, const Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr &&
        std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height) > 0 &&
        std::fwrite(picture.rgb.data(), 1, picture.rgb.size(), file) == picture.rgb.size();
    return file != nullptr && std::fclose(file) == 0 && written;
}

// A child's window rectangle in the client coordinates of a window.
RECT RectIn(HWND window, HWND child) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Whether the top rows of part show in picture with its corner at (x, y).
bool ShowsAt(const Picture& picture, const Picture& part, int rows, int x, int y) {
    if (x < 0 || y < 0 || x + part.width > picture.width || y + rows > picture.height) {
        return false;
    }
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(part.width) * 3;
    for (int row = 0; row < rows; ++row) {
        const auto wanted = part.rgb.begin() + row * rowBytes;
        if (!std::equal(wanted, wanted + rowBytes,
                        picture.rgb.begin() + (y + row) * (picture.width * 3LL) + x * 3LL)) {
            return false;
        }
    }
    return true;
}

// The first tab's label (the tab control answers through memory of the
// installer's process), where the strip lies and whether the page covers it.
std::string DescribeTab(HANDLE process, HWND sheet, HWND tabs, HWND page) {
    char label[256] = {};
    RECT firstTab{};
    if (auto* remote = static_cast<char*>(::VirtualAllocEx(
            process, nullptr, sizeof(TCITEMA) + sizeof label, MEM_COMMIT, PAGE_READWRITE))) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote + sizeof item;
        item.cchTextMax = sizeof label - 1;
        if (!::WriteProcessMemory(process, remote, &item, sizeof item, nullptr) ||
            !::SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) ||
            !::ReadProcessMemory(process, remote + sizeof item, label, sizeof label - 1, nullptr)) {
            label[0] = '\0';
        }
        if (::SendMessageA(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(remote))) {
            ::ReadProcessMemory(process, remote, &firstTab, sizeof firstTab, nullptr);
        }
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    RECT client{};
    ::GetClientRect(tabs, &client);
    const bool styledBottom = (::GetWindowLongA(tabs, GWL_STYLE) & TCS_BOTTOM) != 0;
    const bool drawnLow = firstTab.top > client.bottom / 2;
    ::MapWindowPoints(tabs, sheet, reinterpret_cast<POINT*>(&firstTab), 2);
    const bool covered = RectIn(sheet, page).bottom >= firstTab.bottom;
    return "tab " + Quoted(label) +
           (styledBottom && drawnLow ? " along the bottom edge" : " along the top edge") +
           (covered ? ", under the page" : ", below the page");
}

std::string DescribeButton(HWND sheet, int id, const std::string& name) {
    HWND button = ::GetDlgItem(sheet, id);
    const bool shown = button != nullptr && ::IsWindowVisible(button);
    return name + " button " + (shown ? Quoted(WindowText(button)) : "hidden");
}

std::string DescribeBanner(HWND sheet, HWND page, HWND tabs, const Picture& screen,
                           const Picture& banner) {
    RECT client{};
    ::GetClientRect(sheet, &client);
    const RECT pageRect = RectIn(sheet, page), tabRect = RectIn(sheet, tabs);
    // The sheet's own layout leaves as much room right of the tabs as left.
    const int widening = client.right - (tabRect.right + tabRect.left);
    POINT at{pageRect.left + pageRect.right, client.top + kBannerTop};
    // Only the rows above the buttons, which may cover it: the sheet is no taller.
    const RECT button = RectIn(sheet, ::GetDlgItem(sheet, IDCANCEL));
    const int rows = std::max(0, std::min(banner.height, static_cast<int>(button.top - at.y)));
    ::ClientToScreen(sheet, &at);
    const bool shown = rows > 0 && ShowsAt(screen, banner, rows, at.x, at.y);
    return (shown ? "banner beside the page" : "no banner") +
           (", sheet widened by " + std::to_string(widening));
}

std::string DescribeLine(HWND page, int id, const Picture& screen) {
    HWND line = ::GetDlgItem(page, id);
    const std::string name = "line " + std::to_string(id);
    if (line == nullptr || !::IsWindowVisible(line)) {
        return name + (line == nullptr ? " missing" : " hidden");
    }
    RECT rect{};
    ::GetWindowRect(line, &rect);
    const std::size_t at =
        (static_cast<std::size_t>(rect.bottom - 2) * screen.width + rect.right - 2) * 3;
    // As 0x00BBGGRR, as GetSysColor gives it.
    const unsigned background =
        screen.rgb[at] | (screen.rgb[at + 1] << 8) | (screen.rgb[at + 2] << 16);
    char colour[32] = "on the active-border colour";
    if (background != ::GetSysColor(COLOR_ACTIVEBORDER)) {
        std::snprintf(colour, sizeof colour, "on colour %06x", background);
    }
    return name + " " + Quoted(WindowText(line)) + " " + colour;
}

// The sheet as transcript lines; banner, the installer's bitmap resource, is
// looked for beside the page.
std::vector<std::string> DescribeSheet(HANDLE process, HWND sheet, const Picture& screen,
                                       const Picture& banner) {
    HWND tabs = ::FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr);
    HWND page = ::FindWindowExA(sheet, nullptr, "#32770", nullptr);
    std::vector<std::string> lines = {
        "title " + Quoted(WindowText(sheet)),
        DescribeTab(process, sheet, tabs, page),
        DescribeButton(sheet, IDOK, "OK"),
        DescribeButton(sheet, IDCANCEL, "Cancel"),
        DescribeButton(sheet, kApplyButtonId, "Apply"),
        DescribeBanner(sheet, page, tabs, screen, banner),
    };
    // The page's lines in the order in which they show, from top to bottom.
    std::array<int, 3> ids = {IDC_DRIVE_LINE, IDC_MODULE_LINE, IDC_SUPPORT_LINE};
    std::stable_sort(ids.begin(), ids.end(), [page](int a, int b) {
        return RectIn(page, ::GetDlgItem(page, a)).top < RectIn(page, ::GetDlgItem(page, b)).top;
    });
    for (const int id : ids) {
        lines.push_back(DescribeLine(page, id, screen));
    }
    return lines;
}

struct Step {
    std::string verb, argument;
};

// The driver's steps of a scenario, passing over the lines of the test
// script (which refuses unknown verbs); false when it cannot be read.
bool ReadScenario(const std::string& path, std::vector<Step>& steps) {
    std::ifstream file(path);
    for (std::string text; std::getline(file, text);) {
        std::istringstream words(text.substr(0, text.find('#')));
        Step step;
        words >> step.verb >> std::ws;
        std::getline(words, step.argument);
        step.argument.erase(step.argument.find_last_not_of(" \t\r") + 1);
        if (!step.verb.empty() && kDriverVerbs.find(" " + step.verb + " ") != std::string::npos) {
            steps.push_back(step);
        }
    }
    return file.eof();
}

// The shown top-level dialogs of a thread: the property sheet (the dialog
// with a tab control) and a message box (any other), and its first dialog.
struct Dialogs {
    HWND sheet = nullptr, box = nullptr, any = nullptr;
};

BOOL CALLBACK NoteDialog(HWND window, LPARAM found) {
    auto& dialogs = *reinterpret_cast<Dialogs*>(found);
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string_view(className) == "#32770") {
        const bool tabs = ::FindWindowExA(window, nullptr, "SysTabControl32", nullptr) != nullptr;
        HWND& slot = tabs ? dialogs.sheet : dialogs.box;
        slot = slot == nullptr && ::IsWindowVisible(window) ? window : slot;
        dialogs.any = dialogs.any == nullptr ? window : dialogs.any;
    }
    return TRUE;
}

// Starts a command line with a current directory (null: this process's own).
bool Launch(std::string commandLine, const char* directory, PROCESS_INFORMATION& started) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return ::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            directory, &startup, &started) != 0;
}

// Drives the installer from outside and writes down what it sees and does,
// each line flushed, so that a run that hangs still shows how far it came.
struct ScenarioRun {
    std::FILE* transcript;
    std::string installer, screenshots, machines;  // screenshots: a path prefix
    Picture banner;                                // the installer's, looked for beside the page
    PROCESS_INFORMATION process{};
    bool ended = false;
    int boxesSeen = 0;
    std::deque<std::string> answers;

    // False when the run cannot go on: the transcript says why.
    bool Run(const Step& step) {
        if (step.verb == "answer") {
            answers.push_back(step.argument);
            return true;
        }
        if (step.verb == "regedit") {
            Line("regedit " + step.argument);
            PROCESS_INFORMATION started{};
            if (!Launch("regedit.exe /S \"" + machines + "\\" + step.argument + "\"", nullptr,
                        started)) {
                return Fail("regedit cannot be started");
            }
            ::WaitForSingleObject(started.hProcess, kStepDeadline);
            ::CloseHandle(started.hThread);
            return ::CloseHandle(started.hProcess);
        }
        if (step.verb == "start") {
            Line("start in " + step.argument);
            if (!Launch("\"" + installer + "\"", step.argument.c_str(), process)) {
                return Fail("the installer cannot be started");
            }
            ::WaitForInputIdle(process.hProcess, kAnswerTimeout);
            return Settle(false);
        }
        if (process.hProcess == nullptr || ended) {
            return Fail(step.verb + " while the installer is not running");
        }
        if (step.verb == "picture") {
            return TakePicture(step.argument);
        }
        return step.verb == "install" ? Press(IDOK, "Install") : Press(IDCANCEL, "Cancel");
    }

    // After the last step: waits for the installer to end, and ends it if not.
    void Finish() {
        if (process.hProcess != nullptr && !Ended(10000)) {
            Line("error: the installer is still running");
            ::TerminateProcess(process.hProcess, 1);
        }
    }

    // To the transcript and to standard output.
    void Line(const std::string& line) {
        for (std::FILE* out : {transcript, stdout}) {
            std::fputs((line + "\n").c_str(), out);
            std::fflush(out);
        }
    }

    bool Fail(const std::string& why) { return Line("error: " + why), false; }

    // Whether the installer has ended, waiting at most the given time; writes
    // down its exit code when it is seen to end.
    bool Ended(DWORD waitMilliseconds = 0) {
        if (!ended && ::WaitForSingleObject(process.hProcess, waitMilliseconds) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process.hProcess, &code);
            ended = true;
            Line("exit " + std::to_string(code));
        }
        return ended;
    }

    Dialogs Find() const {
        Dialogs found;
        ::EnumThreadWindows(process.dwThreadId, &NoteDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // Returns once the thread has handled a message sent to one of its
    // windows; false when it has no window or did not answer.
    bool Ping() const {
        HWND dialog = Find().any;
        DWORD_PTR result = 0;
        return dialog != nullptr &&
               ::SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeout, &result);
    }

    bool TakePicture(const std::string& name) {
        HWND sheet = Find().sheet;
        if (sheet == nullptr) {
            return Fail("no sheet to picture");
        }
        // The sheet may still be painting after its last change: the picture
        // counts once two screenshots in a row show the same.
        Picture screen;
        std::vector<std::string> seen;
        for (int attempt = 0; attempt < kPictureAttempts; ++attempt) {
            Ping();
            ::Sleep(kPaintPause);
            screen = CaptureScreen();
            std::vector<std::string> described =
                DescribeSheet(process.hProcess, sheet, screen, banner);
            if (described == seen) {
                break;
            }
            seen = std::move(described);
        }
        Line("picture " + name);
        for (const std::string& line : seen) {
            Line("  " + line);
        }
        return SaveScreenshot(name, screen);
    }

    bool SaveScreenshot(const std::string& name, const Picture& screen) {
        const std::string file = screenshots + name + ".ppm";
        return WritePpm(file, screen) || Fail("cannot write " + file);
    }

    bool Press(int buttonId, const std::string& name) {
        HWND sheet = Find().sheet;
        HWND button = sheet != nullptr ? ::GetDlgItem(sheet, buttonId) : nullptr;
        if (button == nullptr || !::IsWindowVisible(button)) {
            return Fail(name + " is not shown");
        }
        Line("press " + name);
        // As the mouse does: the click waits in the queue of the installer's
        // thread until its loop takes it.
        ::PostMessageA(button, BM_CLICK, 0, 0);
        return Settle(true);
    }

    // Handles the message boxes until the installer waits on its sheet or
    // has ended. After a press, waits first for its effect: a box or the end.
    bool Settle(bool afterPress) {
        bool changed = !afterPress;
        for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < kStepDeadline;) {
            if (Ended()) {
                return true;
            }
            if (!Ping()) {
                ::Sleep(kPoll);
            } else if (HWND box = Find().box) {
                HandleBox(box);
                changed = true;
            } else if (changed && Find().sheet != nullptr) {
                return true;
            } else {
                ::Sleep(kPoll);
            }
        }
        return Fail("the installer did not settle");
    }

    // Writes the box down, saves a screenshot box-N of it and closes it.
    void HandleBox(HWND box) {
        const bool sheetShown = Find().sheet != nullptr;
        const std::string text = WindowText(::GetDlgItem(box, kMessageBoxTextId));
        const bool question =
            ::GetDlgItem(box, IDYES) != nullptr && ::GetDlgItem(box, IDNO) != nullptr;
        Line("box " + Quoted(WindowText(box)) + " " + Quoted(text) +
             (question ? " Yes/No" : " OK") + (sheetShown ? "" : " before any window"));
        ::Sleep(kPaintPause);
        SaveScreenshot("box-" + std::to_string(++boxesSeen), CaptureScreen());
        int button = IDOK;
        if (question) {
            if (answers.empty()) {
                Line("  error: no answer left; No");
                answers.push_back("No");
            }
            Line("  answer " + answers.front());
            button = answers.front() == "Yes" ? IDYES : IDNO;
            answers.pop_front();
        }
        ::PostMessageA(::GetDlgItem(box, button), BM_CLICK, 0, 0);
        for (const DWORD start = ::GetTickCount();
             ::IsWindow(box) && ::GetTickCount() - start < kStepDeadline && !Ended();) {
            ::Sleep(kPoll);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs(
            "usage: wizard-driver SCENARIO INSTALLER TRANSCRIPT SCREENSHOT_PREFIX MACHINES\n",
            stderr);
        return 2;
    }
    std::vector<Step> steps;
    std::FILE* transcript = nullptr;
    if (!ReadScenario(argv[1], steps) || !(transcript = std::fopen(argv[3], "wb"))) {
        std::fprintf(stderr, "wizard-driver: cannot run %s into %s\n", argv[1], argv[3]);
        return 2;
    }
    ScenarioRun run{transcript, argv[2], argv[4], argv[5], BitmapResource(argv[2], IDB_BANNER),
                    {},         false,   0,       {}};
    const bool ok =
        std::all_of(steps.begin(), steps.end(), [&run](const Step& step) { return run.Run(step); });
    run.Finish();
    return ok && std::fclose(transcript) == 0 ? 0 : 1;
}
