// stashwell-setup: runs the installer on a simulated Windows machine
// described on the command line: its sheet in the terminal, or one of the
// machine's answers.
#include <CLI/CLI.hpp>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>

#include "console.h"
#include "detect_verdict.h"
#include "drive_tree.h"
#include "explanation.h"
#include "machine_options.h"
#include "platform/hosted/input_file.h"
#include "platform/hosted/printable_text.h"
#include "simulated_machine.h"
#include "stashwell_version.h"
#include "wizard_session.h"

namespace {

// "E" or "E:".
std::string CheckDriveLetter(const std::string& text) {
    const bool letter = !text.empty() && std::isalpha(static_cast<unsigned char>(text[0]));
    return letter && (text.size() == 1 || text == text.substr(0, 1) + ":")
               ? ""
               : "expected a drive letter, such as E";
}

}  // namespace

int main(int argc, char** argv) try {
    CLI::App app{
        "Runs the Stashwell installer on a simulated Windows machine. The sheet is drawn in the "
        "terminal and driven line by line: i presses Install, c (or the end of input) Cancel, "
        "y or n answers a question, and \"registry FILE...\" gives the machine another "
        "registry while the page shows.",
        "stashwell-setup"};
    app.set_version_flag("--version", std::string("stashwell-setup ") + STASHWELL_VERSION);
    setup::MachineDescription description;
    setup::AddMachineOptions(app, description);
    bool detect = false;
    std::string tree;
    auto* detectFlag =
        app.add_flag("--detect", detect, "print which supported drive detection finds, and exit");
    auto* treeOption = app.add_option("--tree", tree,
                                      "print every folder and file of a drive with its size "
                                      "and attributes, and exit")
                           ->check(CheckDriveLetter);
    detectFlag->excludes(treeOption);
    bool explain = false;
    bool json = false;
    auto* explainFlag =
        app.add_flag("--explain", explain,
                     "with --detect: print how the verdict came about, step by step")
            ->needs(detectFlag);
    app.add_flag("--json", json, "with --explain: print the explanation as one JSON document")
        ->needs(explainFlag);
    app.add_option("--installer", description.installerPath,
                   "the installer file whose modules are installed (default: this program, "
                   "packed with stashwell-pack build --stub)")
        ->check([](const std::string& path) {
            const std::string problem = hosted::InputFileProblem(path);
            return problem.empty() ? problem : "cannot read the installer " + path + ": " + problem;
        });

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {  // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "stashwell-setup: " << hosted::PrintableText(e.what()) << '\n';
        return 2;
    }
    if (!description.installerPath.empty()) {
        description.installerPath = std::filesystem::absolute(description.installerPath).string();
    }

    std::string error;
    auto machine = setup::SimulatedMachine::Build(description, error);
    if (!machine) {
        std::cerr << hosted::PrintableText(error) << '\n';
        return 1;
    }
    if (explain) {
        const nlohmann::json explanation =
            setup::ExplanationAsJson(setup::TraceDetection(machine->os()));
        std::cout << (json ? explanation.dump(2) + "\n" : setup::ExplanationAsText(explanation));
        return 0;
    }
    if (detect) {
        std::cout << setup::DetectVerdict(machine->os()) << '\n';
        return 0;
    }
    if (!tree.empty()) {
        std::cout << setup::DriveTree(machine->os().files,
                                      static_cast<char>(std::toupper(tree[0])));
        return 0;
    }
    setup::Console console = setup::Console::Standard();
    return setup::RunWizard(*machine, console);
} catch (const std::exception& e) {
    std::cerr << "stashwell-setup: " << hosted::PrintableText(e.what()) << '\n';
    return 1;
}
