#include "setup_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace setuptest {

namespace fs = std::filesystem;

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

Run RunSetup(const std::vector<std::string>& arguments) {
    const fs::path base =
        fs::temp_directory_path() / ("stashwell-setup-" + std::to_string(getpid()));
    const fs::path out = base.string() + ".out";
    const fs::path err = base.string() + ".err";
    std::string command = ShellQuoted(STASHWELL_SETUP_PATH);
    for (const std::string& argument : arguments) {
        command.append(" ").append(ShellQuoted(argument));
    }
    command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + " </dev/null";
    const int status = std::system(command.c_str());
    Run run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

std::string ExampleMachine(const std::string& name) {
    return std::string(STASHWELL_SOURCE_DIR) + "/examples/machines/" + name;
}

std::string ExportedFixture(const std::string& name) {
    return std::string(STASHWELL_SOURCE_DIR) + "/tests/detect/fixtures/" + name;
}

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "stashwell-drive-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& contents) const {
    const fs::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << contents;
    return file.string();
}

}  // namespace setuptest
