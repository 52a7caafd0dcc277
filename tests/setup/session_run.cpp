#include "session_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>

extern char** environ;

namespace setuptest {

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

Run RunSession(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& input) {
    const TempFolder io;
    const std::string in = io.Write("in", input);
    const std::string out = io.Write("out", "");
    const std::string err = io.Write("err", "");
    posix_spawn_file_actions_t streams;
    posix_spawn_file_actions_init(&streams);
    posix_spawn_file_actions_addopen(&streams, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&streams, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&streams, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    const bool started =
        posix_spawn(&child, program.c_str(), &streams, nullptr, argv.data(), environ) == 0 &&
        waitpid(child, &status, 0) == child;
    posix_spawn_file_actions_destroy(&streams);
    return {started && WIFEXITED(status) ? WEXITSTATUS(status) : -1, Contents(out), Contents(err)};
}

std::string FolderOf(const TempFolder& folder) {
    return folder.Mapping('X').substr(2);
}

}  // namespace setuptest
