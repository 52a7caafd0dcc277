#include "machine_options.h"

#include <cctype>

namespace setup {

namespace {

// "E=DIR": a drive letter and the folder it stands for.
std::string ParseDrive(const std::string& text, std::pair<char, std::string>& drive) {
    if (text.size() < 3 || !std::isalpha(static_cast<unsigned char>(text[0])) || text[1] != '=') {
        return "expected LETTER=FOLDER, such as E=/tmp/stick";
    }
    drive = {static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))), text.substr(2)};
    return "";
}

}  // namespace

void AddMachineOptions(CLI::App& app, MachineDescription& description) {
    app.add_option("--registry", description.registryFiles,
                   "a .reg file to load into the registry (repeatable, loaded in order)");

    auto* family = app.add_option_function<std::string>(
        "--family",
        [&description](const std::string& name) { description.ntFamily = name == "nt"; },
        "the family of Windows: nt (default) or 9x");
    family->check(CLI::IsMember({"nt", "9x"}));

    app.add_option_function<std::vector<std::string>>(
           "--drive",
           [&description](const std::vector<std::string>& drives) {
               for (const std::string& text : drives) {
                   std::pair<char, std::string> drive;
                   ParseDrive(text, drive);
                   description.drives.push_back(drive);
               }
           },
           "LETTER=FOLDER: a drive of the machine (repeatable; C: always exists)")
        ->check([](const std::string& text) {
            std::pair<char, std::string> drive;
            return ParseDrive(text, drive);
        });

    auto* cwd = app.add_option("--cwd", description.currentDirectory,
                               "the current directory (default C:\\)");
    auto* noCwd = app.add_flag_callback(
        "--no-cwd",
        [&description] {
            description.currentDirectoryMode = hosted::CurrentDirectoryMode::SizeOnly;
        },
        "the current directory can be sized but not read");
    auto* cwdError = app.add_flag_callback(
        "--cwd-error",
        [&description] {
            description.currentDirectoryMode = hosted::CurrentDirectoryMode::Failing;
        },
        "not even the current directory's length can be read");
    noCwd->excludes(cwdError);
    cwd->excludes(cwdError);
}

}  // namespace setup
