// The transcript that a scenario's run writes and the test compares: one
// line per thing seen or done, texts quoted with C escapes.
#pragma once

#include <cstdio>
#include <string>

namespace driver {

// "text" with backslash, quote, carriage return, line feed and tab escaped.
std::string Quoted(const std::string& text);

class Transcript {
  public:
    // False from Open when the file cannot be created.
    bool Open(const std::string& path);
    ~Transcript();

    // Writes one line and flushes it, so that a run that hangs still shows
    // how far it came.
    void Line(const std::string& line);

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace driver
