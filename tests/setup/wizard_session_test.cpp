// The wizard in the terminal with scripted input: the sheet as drawn, boxes and
// their answers, lines that change the machine, drives that reach no more.
#include <gtest/gtest.h>
#include <set>

#include "installer_build.h"
#include "setup_run.h"

namespace {

namespace fs = std::filesystem;

// A message box as the console shows it.
std::string Box(const std::string& head, std::string text, const std::string& foot) {
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 5) {
        text.replace(at, 1, "\n  | ");
    }
    return "  .-- [" + head + "\n  | " + text + "\n  '-- " + foot;
}
std::string OkBox(const std::string& text) {
    return Box("StashwellSetup]  MB_OK (0x0)", text, "[ OK ]\n");
}
std::string Overwrite(const std::string& target) {
    return Box("Overwrite]  MB_YESNO | MB_ICONQUESTION (0x24)",
               target + " \nalready exist!  Delete this file before Installing?",
               "[ Yes ]  [ No ]\n  Yes or No? [y/n] > ");
}

const std::string kDrives = " --drive E=$E --drive F=$F";

// The sample installer: stashwell-setup packed with the sample modules.
std::string Installer() {
    static const setuptest::TempFolder packed;
    static const std::string path = [] {
        const std::string file = packed.path + "/StashwellSetup";
        pack::BuildInstaller(STASHWELL_SETUP_PATH,
                             STASHWELL_SOURCE_DIR "/examples/payload/manifest.json", file);
        return file;
    }();
    return path;
}

TEST(WizardSession, EachSessionShowsItsSheetBoxesAndAnswers) {
    const std::string orca = "--registry $M/orca-slim-nt.reg",
                      none = STASHWELL_SOURCE_DIR "/examples/machines/no-drive-nt.reg",
                      blank = "|  |" + std::string(38, ' ') + "|  |\n";  // a hidden line
    struct Case {
        std::string program, machine;
        std::vector<const char*> old;  // files on E: before
        std::string input;
        std::vector<std::string> shown;  // in this order, then the listing of E:
        std::string hidden;
    };
    // clang-format off
    const Case cases[] = {
        {STASHWELL_SETUP_PATH, orca, {}, "x\nregistry\nregistry /no/such.reg\ni\n",
         {"\n| Norvask Rovane Stashwell ver 1.1" + std::string(44, ' ') + "|\n",
          "|  | [Rovane found: [E] drive           ] |             .-------.             |\n",
          "|  | [" + std::string(34, ' ') + "] |", "|  +--/    Install    \\-------------------+",
          "\n|" + std::string(32, ' ') + "[ Cancel ]" + std::string(35, ' ') + "|\n",
          "> x\nType i to press Install, c to Cancel (or registry FILE...).\n",
          "> registry\nregistry: give the .reg files to load; the machine is unchanged.\n",
          "> registry /no/such.reg\n/no/such.reg: cannot be read: no such file; the machine is "
          "unchanged.\n", "> i\nThere is no Install button to press.\n",
          "> \nCancel pressed: the sheet closes.\nE:\\ (empty)\n"}, "[ Install ]"},
        {Installer(), orca, {"Stash.exe", "Stash.ini"}, "i\nmaybe\ny\n", {"| [Ready to INSTALL!  ",
          "[ Install ]  [ Cancel ]", "> i\n\n" + Overwrite("E:\\Stash.ini") + "maybe\n  Yes or No? "
          "[y/n] > y\n\n" + Overwrite("E:\\Stash.exe") + "\n\n" + OkBox("Thank you for using "
          "Norvask product!\nInstallation Complete!") + "The sheet closes.\n",
          "      <DIR>  D     (0x10)  E:\\HelpFiles\\\n", "\n          3  N     (0x80)  E:\\Stash."
          "exe\n         92  H     (0x2)   E:\\Stash.ini\n"}, "Cancel pressed"},
        {Installer(), "--registry " + none, {}, "c\n", {"| [No flash drive detected.  ",
          "Prism] |  |\n" + blank + blank + blank + "|  +--/", "> c\nCancel pressed"}, "ROVANE"},
        {Installer(), "--registry $M/mixed-groups-nt.reg", {}, "i\n", {"\n" + OkBox("More "
          "than one Suported Rovane detected under Windows.\nPlease unplug one and restart the "
          "application!") + "The program ends.\n"}, "+---"},
        {Installer(), orca, {}, "registry " + none + "\ni\nc\n", {"The machine's registry now "
          "holds " + none + ".\n", "> i\n\n" + OkBox("Unable to get Rovane Information!") +
          "\n+---", "| [No flash drive detected.", "Cancel pressed"}, "Thank you"},
    };
    // clang-format on
    for (const Case& row : cases) {
        const setuptest::Places places;
        for (const char* file : row.old) {
            places.e.Write(file, "old");
        }
        setuptest::Run run = places.Setup(row.machine + kDrives, row.input, row.program);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        run.out += places.Setup("--drive E=$E --tree E").out;
        setuptest::ExpectInOrder(run.out, row.shown);
        EXPECT_EQ(run.out.find(row.hidden), std::string::npos) << run.out;
    }
}

// Mended: registry drive letters that no --drive maps reached the host's folders.
TEST(WizardSession, DrivesOffTheMapReachNothingOfTheHost) {
    const setuptest::Places places;
    const auto entries = [](const char* folder) {
        return std::set<fs::path>(fs::directory_iterator(folder), fs::directory_iterator());
    };
    const auto root = entries("/"), here = entries(".");
    // The Orca disk at C:, which is mapped to nothing; 95 family letters of no drive.
    std::string nt = setuptest::Slurp(places.Expand("$M/orca-slim-nt.reg"));
    std::vector<std::pair<std::string, std::string>> cases = {
        {"nt", nt.replace(nt.find("DosDevices\\\\E:"), 14, "DosDevices\\\\C:")}};
    for (const std::string letter : {"/", "\\\\", ".", "1", "Q", "\x1b"}) {
        cases.push_back({"9x", setuptest::OrcaNineXAt(letter)});
    }
    for (const auto& [family, registry] : cases) {
        places.t.Write("machine.reg", registry);
        const setuptest::Run run = places.Setup(
            "--family " + family + " --registry $T/machine.reg" + kDrives, "i\n", Installer());
        setuptest::ExpectInOrder(
            run.out, {OkBox("Unable To Continue Installation!\nGood Bye!") + "\n+---", "Cancel"});
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
        EXPECT_TRUE(fs::is_empty(places.e.path) && fs::is_empty(places.f.path)) << registry;
        EXPECT_TRUE(entries("/") == root && entries(".") == here) << registry;
    }
}

}  // namespace
