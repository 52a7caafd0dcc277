#include "setup_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace setuptest {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "stashwell-setup-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& contents) const {
    std::ofstream(path_ / name, std::ios::binary) << contents;
    return (path_ / name).string();
}

std::string Places::Expand(std::string text) const {
    const std::string source = STASHWELL_SOURCE_DIR;
    const std::pair<std::string, std::string> names[] = {{"$E", e.path()},
                                                         {"$F", f.path()},
                                                         {"$T", t.path()},
                                                         {"$M", source + "/examples/machines"},
                                                         {"$X", source + "/tests/detect/fixtures"}};
    for (const auto& [name, place] : names) {
        for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
            text.replace(at, name.size(), place);
        }
    }
    return text;
}

Run Places::Setup(const std::string& line, const std::string& input,
                  const std::string& program) const {
    const TempFolder io;
    const std::string in = io.Write("in", input), out = io.Write("out", ""),
                      err = io.Write("err", "");
    std::vector<std::string> words{program};
    std::istringstream split(line);
    for (std::string word; split >> word;) {
        words.push_back(Expand(word));
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t streams;
    posix_spawn_file_actions_init(&streams);
    posix_spawn_file_actions_addopen(&streams, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&streams, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&streams, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t child = 0;
    int status = 0;
    const bool ran =
        posix_spawn(&child, program.c_str(), &streams, nullptr, argv.data(), environ) == 0 &&
        waitpid(child, &status, 0) == child;
    posix_spawn_file_actions_destroy(&streams);
    return {ran && WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    std::size_t from = 0;
    for (const std::string& part : parts) {
        const std::size_t at = text.find(part, from);
        ASSERT_NE(at, std::string::npos) << "missing, or out of order:\n"
                                         << part << "\nin:\n"
                                         << text;
        from = at + 1;
    }
}

}  // namespace setuptest
