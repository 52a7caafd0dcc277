#include "scenario_run.h"

#include <utility>
#include <vector>

#include "pictures.h"
#include "sheet_reading.h"
#include "wizard/resource_ids.h"

namespace driver {

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
// The longest a step may take before the run counts as hung.
constexpr DWORD kStepDeadline = 120000;
constexpr DWORD kPoll = 20;
constexpr DWORD kPaintPause = 150;
constexpr int kPictureAttempts = 10;

// Clicks a button the way the mouse does: the click waits in the queue of
// the installer's thread until its loop takes it.
void Click(HWND button) {
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace

ScenarioRun::ScenarioRun(const RunSettings& settings, Transcript& transcript)
    : settings_(settings), transcript_(transcript) {
    LoadBitmapResource(settings.installer, IDB_BANNER, banner_);
}

bool ScenarioRun::Run(const Step& step) {
    if (step.verb == "answer") {
        answers_.push_back(step.argument);
        return true;
    }
    if (step.verb == "regedit") {
        return Import(step.argument);
    }
    if (step.verb == "start") {
        return Start(step.argument);
    }
    if (!started_ || ended_) {
        transcript_.Line("error: " + step.verb + " while the installer is not running");
        return false;
    }
    if (step.verb == "picture") {
        return Picture(step.argument);
    }
    if (step.verb == "install") {
        return Press(IDOK, "Install");
    }
    return Press(IDCANCEL, "Cancel");
}

bool ScenarioRun::Start(const std::string& folder) {
    transcript_.Line("start in " + folder);
    if (!process_.Start(settings_.installer, folder)) {
        transcript_.Line("error: the installer cannot be started");
        return false;
    }
    started_ = true;
    return Settle(false);
}

bool ScenarioRun::Picture(const std::string& name) {
    HWND sheet = process_.Sheet();
    if (sheet == nullptr || !::IsWindowVisible(sheet)) {
        transcript_.Line("error: no sheet to picture");
        return false;
    }
    // The sheet may still be painting after its last change: the picture
    // counts once two screenshots in a row show the same.
    driver::Picture screen;
    std::vector<std::string> seen;
    for (int attempt = 0; attempt < kPictureAttempts; ++attempt) {
        process_.Ping();
        ::Sleep(kPaintPause);
        screen = CaptureScreen();
        std::vector<std::string> described =
            DescribeSheet(process_.Handle(), sheet, screen, banner_);
        if (described == seen) {
            break;
        }
        seen = std::move(described);
    }
    transcript_.Line("picture " + name);
    for (const std::string& line : seen) {
        transcript_.Line("  " + line);
    }
    return SaveScreenshot(name, screen);
}

bool ScenarioRun::SaveScreenshot(const std::string& name, const driver::Picture& screen) {
    const std::string file = settings_.screenshotPrefix + name + ".ppm";
    if (!WritePpm(file, screen)) {
        transcript_.Line("error: cannot write " + file);
        return false;
    }
    return true;
}

bool ScenarioRun::Import(const std::string& file) {
    transcript_.Line("regedit " + file);
    std::string commandLine = "regedit.exe /S \"" + settings_.machines + "\\" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        transcript_.Line("error: regedit cannot be started");
        return false;
    }
    ::WaitForSingleObject(started.hProcess, kStepDeadline);
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return true;
}

bool ScenarioRun::Press(int buttonId, const char* name) {
    HWND sheet = process_.Sheet();
    HWND button = sheet != nullptr ? ::GetDlgItem(sheet, buttonId) : nullptr;
    if (button == nullptr || !::IsWindowVisible(button)) {
        transcript_.Line(std::string("error: ") + name + " is not shown");
        return false;
    }
    transcript_.Line(std::string("press ") + name);
    Click(button);
    return Settle(true);
}

bool ScenarioRun::Settle(bool afterPress) {
    bool changed = !afterPress;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kStepDeadline) {
        if (Ended()) {
            return true;
        }
        if (!process_.Ping()) {
            ::Sleep(kPoll);
            continue;
        }
        if (HWND box = process_.Box()) {
            HandleBox(box);
            changed = true;
            continue;
        }
        HWND sheet = process_.Sheet();
        if (changed && sheet != nullptr && ::IsWindowVisible(sheet)) {
            return true;
        }
        ::Sleep(kPoll);
    }
    transcript_.Line("error: the installer did not settle");
    return false;
}

void ScenarioRun::HandleBox(HWND box) {
    HWND sheet = process_.Sheet();
    const bool sheetShown = sheet != nullptr && ::IsWindowVisible(sheet);
    const std::string text = WindowText(::GetDlgItem(box, kMessageBoxTextId));
    const bool question = ::GetDlgItem(box, IDYES) != nullptr && ::GetDlgItem(box, IDNO) != nullptr;
    transcript_.Line("box " + Quoted(WindowText(box)) + " " + Quoted(text) +
                     (question ? " Yes/No" : " OK") + (sheetShown ? "" : " before any window"));
    ::Sleep(kPaintPause);
    SaveScreenshot("box-" + std::to_string(++boxesSeen_), CaptureScreen());

    int button = IDOK;
    if (question) {
        std::string answer = "No";
        if (answers_.empty()) {
            transcript_.Line("  error: no answer left; No");
        } else {
            answer = answers_.front();
            answers_.pop_front();
        }
        transcript_.Line("  answer " + answer);
        button = answer == "Yes" ? IDYES : IDNO;
    }
    Click(::GetDlgItem(box, button));
    const DWORD start = ::GetTickCount();
    while (::IsWindow(box) && ::GetTickCount() - start < kStepDeadline) {
        if (Ended()) {
            return;
        }
        ::Sleep(kPoll);
    }
}

bool ScenarioRun::Ended() {
    DWORD code = 0;
    if (ended_ || !started_ || !process_.Exited(0, code)) {
        return ended_;
    }
    ended_ = true;
    transcript_.Line("exit " + std::to_string(code));
    return true;
}

void ScenarioRun::Finish() {
    if (!started_ || ended_) {
        return;
    }
    DWORD code = 0;
    if (process_.Exited(10000, code)) {
        Ended();
        return;
    }
    transcript_.Line("error: the installer is still running");
}

}  // namespace driver
