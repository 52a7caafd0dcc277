// The installer's wizard run in the terminal with scripted input: the sheet
// as drawn, message boxes and their answers, lines that change the machine,
// and drives that reach nothing of the host beside their folders.
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

class WizardSession : public ::testing::Test {
  protected:
    // The sample installer: stashwell-setup packed with the sample modules.
    static void SetUpTestSuite() {
        packed_ = new setuptest::TempFolder;
        pack::BuildInstaller(STASHWELL_SETUP_PATH,
                             STASHWELL_SOURCE_DIR "/examples/payload/manifest.json", Installer());
    }
    static void TearDownTestSuite() { delete packed_; }
    static std::string Installer() { return packed_->path + "/StashwellSetup"; }

    setuptest::Places places;
    // The program on a machine with drives E: and F: and the registry.
    setuptest::Run Session(const std::string& machine, const std::string& input,
                           const std::string& program = Installer()) const {
        return places.Setup(machine + " --drive E=$E --drive F=$F", input, program);
    }
    bool DrivesEmpty() const { return fs::is_empty(places.e.path) && fs::is_empty(places.f.path); }

    static setuptest::TempFolder* packed_;
};

setuptest::TempFolder* WizardSession::packed_ = nullptr;

TEST_F(WizardSession, EachSessionShowsItsSheetBoxesAndAnswers) {
    const std::string orca = "--registry $M/orca-slim-nt.reg", none = "$M/no-drive-nt.reg",
                      blank = "|  |" + std::string(38, ' ') + "|  |\n";  // a hidden line
    struct Case {
        std::string machine, input, program;
        std::vector<std::string> shown;  // in this order
        std::string hidden;
    };
    const Case cases[] = {
        {orca,
         "x\nregistry\nregistry /no/such.reg\ni\n",
         STASHWELL_SETUP_PATH,
         {"\n| Norvask Rovane Stashwell ver 1.1" + std::string(44, ' ') + "|\n",
          "|  | [Rovane found: [E] drive           ] |             .-------.             |\n",
          "|  | [Stashwell ver 1.1 is NOT included!] |         .---'-------'---.         |\n",
          "|  | [" + std::string(34, ' ') + "] |", "|  +--/    Install    \\-------------------+",
          "\n|" + std::string(32, ' ') + "[ Cancel ]" + std::string(35, ' ') + "|\n",
          "> x\nType i to press Install, c to Cancel (or registry FILE...).\n",
          "> registry\nregistry: give the .reg files to load; the machine is unchanged.\n",
          "> registry /no/such.reg\n/no/such.reg: cannot be read: no such file; the machine is "
          "unchanged.\n",
          "> i\nThere is no Install button to press.\n", "> \nCancel pressed: the sheet closes.\n"},
         "[ Install ]"},
        {orca,
         "i\n",
         Installer(),
         {"| [Ready to INSTALL!  ", "[ Install ]  [ Cancel ]",
          "> i\n\n" + OkBox("Thank you for using Norvask product!\nInstallation Complete!") +
              "The sheet closes.\n"},
         "Cancel pressed"},
        {"--registry " + none,
         "c\n",
         Installer(),
         {"| [No flash drive detected.  ", "Prism] |  |\n" + blank + blank + blank + "|  +--/",
          "> c\nCancel pressed"},
         "ROVANE"},
        {"--registry $M/mixed-groups-nt.reg",
         "i\n",
         Installer(),
         {"\n" +
          OkBox("More than one Suported Rovane detected under Windows.\nPlease unplug one "
                "and restart the application!") +
          "The program ends.\n"},
         "+---"},
        {orca,
         "registry " + none + "\ni\nc\n",
         Installer(),
         {"[ Install ]", "The machine's registry now holds " + none + ".\n",
          "> i\n\n" + OkBox("Unable to get Rovane Information!") + "\n+---",
          "| [No flash drive detected.", "> c\nCancel pressed"},
         "Thank you"},
    };
    for (const Case& session : cases) {
        const setuptest::Run run =
            Session(session.machine, places.Expand(session.input), session.program);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::vector<std::string> shown;
        for (const std::string& part : session.shown) {
            shown.push_back(places.Expand(part));
        }
        setuptest::ExpectInOrder(run.out, shown);
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

// Mended: a drive letter of the registry that no --drive maps reached the
// host's own folders.
TEST_F(WizardSession, DrivesOffTheMapReachNothingOfTheHost) {
    const auto entries = [](const fs::path& folder) {
        std::set<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.insert(entry.path());
        }
        return names;
    };
    const auto root = entries("/"), here = entries(fs::current_path());
    // The Orca disk mounted at C:, which exists but is mapped to nothing,
    // and 95 family letters that are no drive or an unmapped one.
    std::string nt = setuptest::Slurp(places.Expand("$M/orca-slim-nt.reg"));
    std::vector<std::pair<std::string, std::string>> cases = {
        {"nt", nt.replace(nt.find("DosDevices\\\\E:"), 14, "DosDevices\\\\C:")}};
    for (const std::string letter : {"/", "\\\\", ".", "1", "Q", "\x1b"}) {
        std::string nine = setuptest::Slurp(places.Expand("$M/orca-slim-9x.reg"));
        const std::string assignment = "CurrentDriveLetterAssignment\"=\"";
        cases.push_back({"9x", nine.replace(nine.find(assignment) + assignment.size(), 1, letter)});
    }
    for (const auto& [family, registry] : cases) {
        const setuptest::Run run = Session(
            "--family " + family + " --registry " + places.t.Write("machine.reg", registry), "i\n");
        setuptest::ExpectInOrder(
            run.out, {OkBox("Unable To Continue Installation!\nGood Bye!") + "\n+---", "Cancel"});
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
        EXPECT_TRUE(DrivesEmpty()) << registry;
    }
    EXPECT_EQ(entries("/"), root);
    EXPECT_EQ(entries(fs::current_path()), here);
}

}  // namespace
