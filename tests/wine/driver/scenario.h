// A scenario's steps for the driver. A scenario file holds one step a line,
// a verb and its argument; '#' starts a comment. The lines that prepare the
// machine and check the drives afterwards are the test script's and are
// passed over here.
//
// Driver steps:
//   start FOLDER      start the installer with FOLDER as current directory
//   picture NAME      write down the page and save a screenshot NAME.ppm (e2e.sh makes it NAME.png)
//   answer Yes|No     the answer to the next question
//   regedit FILE      import a .reg file of the machines folder
//   install           press Install
//   cancel            press Cancel
#pragma once

#include <string>
#include <vector>

namespace driver {

struct Step {
    std::string verb;
    std::string argument;
    int line = 0;
};

// False with a message on an unreadable file or an unknown verb.
bool ReadScenario(const std::string& path, std::vector<Step>& steps, std::string& error);

}  // namespace driver
