// Runs a scenario's steps against the installer and writes what it sees
// into the transcript: the page at each picture, every message box with its
// caption, text and buttons, the answer given, and how the process ended.
#pragma once

#include <deque>
#include <string>

#include "installer_process.h"
#include "ppm_file.h"
#include "scenario.h"
#include "transcript.h"

namespace driver {

struct RunSettings {
    std::string installer;         // the installer executable
    std::string screenshotPrefix;  // NAME.ppm is appended
    std::string machines;          // the folder of the .reg files
};

class ScenarioRun {
  public:
    ScenarioRun(const RunSettings& settings, Transcript& transcript);

    // False when the run cannot go on: the transcript says why.
    bool Run(const Step& step);
    // After the last step: waits for the installer to end.
    void Finish();

  private:
    bool Start(const std::string& folder);
    bool Picture(const std::string& name);
    // Writes the screen to the screenshot prefix, NAME and ".ppm".
    bool SaveScreenshot(const std::string& name, const driver::Picture& screen);
    bool Import(const std::string& file);
    bool Press(int buttonId, const char* name);
    // Handles the message boxes until the installer waits on its sheet or
    // has ended. After a press, waits first for its effect: a box or the end.
    bool Settle(bool afterPress);
    // Writes the box down, saves a screenshot box-N of it and closes it.
    void HandleBox(HWND box);
    bool Ended();

    const RunSettings& settings_;
    Transcript& transcript_;
    driver::Picture banner_;
    InstallerProcess process_;
    bool started_ = false;
    bool ended_ = false;
    int boxesSeen_ = 0;
    std::deque<std::string> answers_;
};

}  // namespace driver
