// The seam probe's findings: one line per check, and the closing count.
#pragma once

#include <string>

namespace probe {

class Report {
  public:
    // Prints "ok   name" or "FAIL name: detail" and counts the check.
    void Expect(const std::string& name, bool passed, const std::string& detail = {});
    // Prints "name: value", for what the reader should see but not judge.
    void Note(const std::string& name, const std::string& value);
    // Prints "N passed, N failed"; the process's exit status.
    int Close();

  private:
    int passed_ = 0;
    int failed_ = 0;
};

// The text with "\r" and "\n" written out, so that it stays on one line.
std::string Escaped(const std::string& text);

}  // namespace probe
