// The installer's wizard run in the terminal with scripted input: the sheet
// as drawn, message boxes and their answers, lines that change the machine,
// and a machine whose drives reach nothing of the host beside their folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "installer_build.h"
#include "setup_run.h"

namespace {

namespace fs = std::filesystem;
using setuptest::TempFolder;

// What a message box shows on the console.
std::string Box(const std::string& caption, const std::string& type, const std::string& text) {
    std::string lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines += "  | " + line + "\n";
    }
    return "  .-- [" + caption + "]  " + type + "\n" + lines;
}
std::string OkBox(const std::string& text) {
    return Box("StashwellSetup", "MB_OK (0x0)", text) + "  '-- [ OK ]\n";
}
std::string Overwrite(const std::string& target) {
    return Box("Overwrite", "MB_YESNO | MB_ICONQUESTION (0x24)",
               target + " \nalready exist!  Delete this file before Installing?") +
           "  '-- [ Yes ]  [ No ]\n  Yes or No? [y/n] > ";
}

const std::string kFailed = OkBox("Unable To Continue Installation!\nGood Bye!");

// The names in a host folder, to see that a run made nothing there.
std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class WizardSession : public ::testing::Test {
  protected:
    // The sample installer: stashwell-setup packed with the sample modules.
    static void SetUpTestSuite() {
        packed_ = new TempFolder;
        installer_ = (packed_->path() / "StashwellSetup").string();
        pack::BuildInstaller(STASHWELL_SETUP_PATH,
                             std::string(STASHWELL_SOURCE_DIR) + "/examples/payload/manifest.json",
                             installer_);
    }
    static void TearDownTestSuite() { delete packed_; }

    setuptest::Places places;
    // The program on a machine with drives E: and F: and the registry.
    setuptest::Run Session(const std::string& machine, const std::string& input,
                           const std::string& program = installer_) const {
        return places.Setup(machine + " --drive E=$E --drive F=$F", input, program);
    }

    static TempFolder* packed_;
    static std::string installer_;
};

TempFolder* WizardSession::packed_ = nullptr;
std::string WizardSession::installer_;

TEST_F(WizardSession, EachSessionShowsItsSheetBoxesAndAnswers) {
    const std::string orca = "--registry $M/orca-slim-nt.reg";
    const std::string noDrive = places.Expand("$M/no-drive-nt.reg");
    const std::string bareSheet =
        "\n+" + std::string(77, '-') + "+\n| Norvask Rovane Stashwell ver 1.1" +
        std::string(44, ' ') + "|\n+" + std::string(77, '-') +
        "+\n"
        "|  +--------------------------------------+                                   |\n"
        "|  |                                      |                                   |\n"
        "|  | [Rovane found: [E] drive           ] |             .-------.             |\n"
        "|  |                                      |             | [] [] |             |\n"
        "|  | [Stashwell ver 1.1 is NOT included!] |         .---'-------'---.         |\n"
        "|  |                                      |         |  ~ ROVANE ~   |         |\n"
        "|  | [                                  ] |         |   Stashwell   |         |\n"
        "|  |                                      |         '---------------'         |\n"
        "|  +--/    Install    \\-------------------+                                   |\n"
        "|                                                                             |\n"
        "|                                [ Cancel ]                                   |\n"
        "+" +
        std::string(77, '-') + "+\nPress i (Install) or c (Cancel) > ";
    const std::string blank = "|  |" + std::string(38, ' ') + "|  |\n";  // a hidden line
    struct Case {
        std::string machine, input, program;
        std::vector<std::string> shown;  // in this order
        std::string hidden;
    };
    const Case cases[] = {
        {orca,
         "x\nregistry\nregistry /no/such.reg\ni\n",
         STASHWELL_SETUP_PATH,
         {bareSheet + "x\nType i to press Install, c to Cancel (or registry FILE...).\n",
          "> registry\nregistry: give the .reg files to load; the machine is unchanged.\n",
          "> registry /no/such.reg\n/no/such.reg: cannot be read: no such file; the machine is "
          "unchanged.\n",
          "> i\nThere is no Install button to press.\n", "> \nCancel pressed: the sheet closes.\n"},
         "[ Install ]"},
        {orca,
         "i\n",
         installer_,
         {"| [Ready to INSTALL!  ", "[ Install ]  [ Cancel ]",
          "> i\n\n" + OkBox("Thank you for using Norvask product!\nInstallation Complete!") +
              "The sheet closes.\n"},
         "Cancel pressed"},
        {"--registry " + noDrive,
         "c\n",
         installer_,
         {"| [No flash drive detected.  ", "Prism] |  |\n" + blank + blank + blank + "|  +--/",
          "> c\nCancel pressed"},
         "ROVANE"},
        {"--registry $M/mixed-groups-nt.reg",
         "i\n",
         installer_,
         {"\n" +
          OkBox("More than one Suported Rovane detected under Windows.\nPlease unplug one "
                "and restart the application!") +
          "The program ends.\n"},
         "+---"},
        {orca,
         "registry " + noDrive + "\ni\nc\n",
         installer_,
         {"[ Install ]", "The machine's registry now holds " + noDrive + ".\n",
          "> i\n\n" + OkBox("Unable to get Rovane Information!") + "\n+---",
          "| [No flash drive detected.", "> c\nCancel pressed"},
         "Thank you"},
    };
    for (const Case& session : cases) {
        const setuptest::Run run = Session(session.machine, session.input, session.program);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        setuptest::ExpectInOrder(run.out, session.shown);
        EXPECT_EQ(run.out.find(session.hidden), std::string::npos) << run.out;
    }
}

TEST_F(WizardSession, QuestionsAreAskedUntilAnsweredAndTheEndOfInputSaysNo) {
    places.e.Write("Stash.exe", "old");
    places.e.Write("Stash.ini", "old");
    const setuptest::Run run = Session("--registry $M/orca-slim-nt.reg", "i\nmaybe\ny\n");
    setuptest::ExpectInOrder(run.out,
                             {Overwrite("E:\\Stash.ini") + "maybe\n  Yes or No? [y/n] > y\n",
                              Overwrite("E:\\Stash.exe") + "\n", "Installation Complete!"});
    EXPECT_EQ(places.Setup("--drive E=$E --tree E").out,
              "      <DIR>  D     (0x10)  E:\\BackupStorage\\\n"
              "         49  H     (0x2)   E:\\BackupStorage\\Backup.dat\n"
              "      <DIR>  D     (0x10)  E:\\HelpFiles\\\n"
              "        123  N     (0x80)  E:\\HelpFiles\\Stash.cnt\n"
              "        147  N     (0x80)  E:\\HelpFiles\\Stash.hlp\n"
              "          3  N     (0x80)  E:\\Stash.exe\n"
              "         92  H     (0x2)   E:\\Stash.ini\n"
              "        578  N     (0x80)  E:\\StashLib.dll\n");
}

// Mended: a drive letter from the registry that no --drive maps reached the
// host's own folders.
TEST_F(WizardSession, DrivesOffTheMapReachNothingOfTheHost) {
    std::string nt = setuptest::Slurp(places.Expand("$M/orca-slim-nt.reg"));
    const std::string nineX = setuptest::Slurp(places.Expand("$M/orca-slim-9x.reg"));
    const std::string mountE = "\"\\\\DosDevices\\\\E:\"";
    const std::string letterE = "\"CurrentDriveLetterAssignment\"=\"E\"";
    // The Orca disk mounted at C:, which exists but is mapped to nothing.
    std::vector<std::pair<std::string, std::string>> cases = {
        {"nt", nt.replace(nt.find(mountE), mountE.size(), "\"\\\\DosDevices\\\\C:\"")}};
    for (const std::string letter : {"/", "\\\\", ".", "1", "Q", "\x1b"}) {
        std::string registry = nineX;
        cases.push_back(
            {"9x", registry.replace(registry.find(letterE), letterE.size(),
                                    "\"CurrentDriveLetterAssignment\"=\"" + letter + "\"")});
    }
    const std::set<std::string> root = Entries("/"), here = Entries(fs::current_path());
    for (const auto& [family, registry] : cases) {
        const setuptest::Run run = Session(
            "--family " + family + " --registry " + places.t.Write("machine.reg", registry), "i\n");
        setuptest::ExpectInOrder(run.out, {kFailed + "\n+---", "Cancel pressed"});
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
        EXPECT_TRUE(fs::is_empty(places.e.path()) && fs::is_empty(places.f.path())) << registry;
    }
    EXPECT_EQ(Entries("/"), root);
    EXPECT_EQ(Entries(fs::current_path()), here);
}

}  // namespace
