// stashwell-pack: packs modules behind an installer stub, and lists, checks
// and extracts the modules of an installer.
#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>

#include "installer_build.h"
#include "installer_extract.h"
#include "manifest.h"
#include "manifest_check.h"
#include "platform/hosted/printable_text.h"
#include "stashwell_version.h"
#include "store_reader.h"
#include "store_report.h"

// Every failure, setting up the command line included, ends in one message.
int main(int argc, char** argv) try {
    CLI::App app{"Packs modules into a Stashwell installer and inspects one.", "stashwell-pack"};
    app.set_version_flag("--version", std::string("stashwell-pack ") + STASHWELL_VERSION);
    app.require_subcommand(1);

    std::string stub;
    std::string manifest;
    std::string out;
    CLI::App* build = app.add_subcommand(
        "build", "append the manifest's modules to a stub; write OUT.sha256 beside OUT");
    build->add_option("--stub", stub, "the installer executable without modules")->required();
    build->add_option("--manifest", manifest, "the JSON list of modules")->required();
    build->add_option("--out", out, "the installer to write")->required();

    std::string installer;
    bool json = false;
    CLI::App* list = app.add_subcommand("list", "list the modules, the last appended first");
    list->add_flag("--json", json, "print a JSON array");
    list->add_option("INSTALLER", installer, "the installer")->required();

    std::string folder;
    std::string tag;
    CLI::App* extract = app.add_subcommand("extract", "extract the modules into a folder");
    extract->add_option("INSTALLER", installer, "the installer")->required();
    extract->add_option("--to", folder, "the folder that stands for the drive's root")->required();
    CLI::Option* tagOption =
        extract->add_option("--tag", tag, "only the modules the installer would find for TAG");

    CLI::App* verify = app.add_subcommand(
        "verify",
        "check every trailer of the store, and with --manifest that the installer "
        "holds exactly the manifest's modules");
    verify->add_option("INSTALLER", installer, "the installer")->required();
    CLI::Option* manifestOption = verify->add_option(
        "--manifest", manifest, "the JSON list of modules the installer must hold, in order");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {  // --help, --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "stashwell-pack: " << hosted::PrintableText(e.what()) << '\n';
        return 2;
    }

    if (build->parsed()) {
        pack::BuildInstaller(stub, manifest, out);
    } else if (list->parsed()) {
        const pack::StoreContents contents = pack::ReadStore(installer);
        if (json) {
            std::cout << pack::ModulesAsJson(contents).dump(2) << '\n';
        } else {
            pack::PrintModuleTable(contents, std::cout);
        }
    } else if (extract->parsed()) {
        pack::ExtractInstaller(installer, folder,
                               tagOption->count() > 0 ? std::optional(tag) : std::nullopt,
                               std::cout);
    } else if (verify->parsed()) {
        const pack::StoreContents contents = pack::ReadStore(installer);
        if (manifestOption->count() == 0) {
            pack::PrintSummary(contents, std::cout);
            return 0;
        }
        const auto differences = pack::CompareWithManifest(contents, pack::LoadManifest(manifest));
        for (const std::string& line : differences) {
            std::cout << line << '\n';
        }
        if (!differences.empty()) {
            return 1;
        }
        std::cout << "installer holds exactly the manifest's " << contents.modules.size()
                  << " modules\n";
    }
    return 0;
} catch (const std::exception& e) {
    std::cerr << "stashwell-pack: " << hosted::PrintableText(e.what()) << '\n';
    return 1;
}
