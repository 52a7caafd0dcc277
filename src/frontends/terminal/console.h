// The terminal that a person, or a script, drives the installer from: lines
// read one at a time, and the transcript of what was shown.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace setup {

class Console {
  public:
    // interactive: input is typed at a terminal (an OK box then waits for
    // Enter); colour: the output understands ANSI colours.
    Console(std::istream& in, std::ostream& out, bool interactive, bool colour);

    // Standard input and output, asking the host whether they are terminals
    // (NO_COLOR and TERM=dumb turn colour off).
    static Console Standard();

    std::ostream& out() { return out_; }
    bool colour() const { return colour_; }

    // Shows the prompt and reads one line; nothing at the end of input.
    // Scripted input is echoed after the prompt, as a person sees it typed.
    std::optional<std::string> ReadLine(const std::string& prompt);
    // ReadLine as a Word.
    std::optional<std::string> ReadWord(const std::string& prompt);
    // A line without surrounding blanks, in lower case: a command.
    static std::string Word(const std::string& line);
    // On a terminal, waits until Enter is pressed; otherwise goes on at once.
    void WaitForEnter();

  private:
    std::istream& in_;
    std::ostream& out_;
    bool interactive_;
    bool colour_;
};

}  // namespace setup
