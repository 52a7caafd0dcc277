// The hosted installer run end to end on the sample machines with scripted
// input: what the person sees, and what ends up on the drive's folder.
#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "installer_build.h"
#include "session_run.h"
#include "store_writer.h"

namespace {

namespace fs = std::filesystem;
using setuptest::ExampleMachine;
using setuptest::FolderOf;
using Session = setuptest::Run;
using setuptest::TempFolder;

const std::string kPayload = std::string(STASHWELL_SOURCE_DIR) + "/examples/payload";
const char* const kOrcaFiles[] = {"Stash.exe",           "StashLib.dll",
                                  "HelpFiles/Stash.hlp", "HelpFiles/Stash.cnt",
                                  "Stash.ini",           "BackupStorage/Backup.dat"};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The names in a host folder, to see that a run made nothing there.
std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// The DOS attributes that the hosted file system keeps beside a file.
std::string DosAttributes(const fs::path& path) {
    char text[16] = {};
    const ssize_t length = getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text - 1);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length)) : "";
}

// What a message box shows on the console.
std::string Box(const std::string& caption, const std::string& type, const std::string& text) {
    std::string lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines += "  | " + line + "\n";
    }
    return "  .-- [" + caption + "]  " + type + "\n" + lines;
}

std::string AppBox(const std::string& text) {
    return Box("StashwellSetup", "MB_OK (0x0)", text);
}

std::string Overwrite(const std::string& target) {
    return Box("Overwrite", "MB_YESNO | MB_ICONQUESTION (0x24)",
               target + " \nalready exist!  Delete this file before Installing?");
}

const std::string kThanks = AppBox("Thank you for using Norvask product!\nInstallation Complete!");
const std::string kFailed = AppBox("Unable To Continue Installation!\nGood Bye!");
const std::string kEmptyBand = "[" + std::string(34, ' ') + "]";

class WizardSession : public ::testing::Test {
  protected:
    // The sample installer: stashwell-setup packed with the sample modules.
    static void SetUpTestSuite() {
        packed_ = new TempFolder;
        installer_ = FolderOf(*packed_) + "/StashwellSetup";
        pack::BuildInstaller(STASHWELL_SETUP_PATH, kPayload + "/manifest.json", installer_);
    }
    static void TearDownTestSuite() { delete packed_; }

    TempFolder e;
    TempFolder f;
    fs::path E() const { return FolderOf(e); }

    // The sample installer on an NT machine with drives E: and F:.
    Session Install(const std::string& machine, const std::string& input,
                    std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {"--registry", ExampleMachine(machine),
                                              "--drive",    e.Mapping('E'),
                                              "--drive",    f.Mapping('F')};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return setuptest::RunSession(installer_, arguments, input);
    }

    static void ExpectContains(const Session& run, const std::string& text) {
        EXPECT_NE(run.out.find(text), std::string::npos) << "missing: " << text << "\n" << run.out;
    }
    static void ExpectLacks(const Session& run, const std::string& text) {
        EXPECT_EQ(run.out.find(text), std::string::npos) << "shown: " << text << "\n" << run.out;
    }
    // The variant's sample files, byte for byte, hidden where the manifest says.
    static void ExpectInstalled(const fs::path& drive, const std::string& variant) {
        for (const char* file : kOrcaFiles) {
            const fs::path name(file);
            EXPECT_EQ(Slurp(drive / name), Slurp(fs::path(kPayload) / variant / name.filename()))
                << file;
            const bool hidden = name.filename() == "Stash.ini" || name.filename() == "Backup.dat";
            EXPECT_EQ(DosAttributes(drive / name), hidden ? "0x2" : "") << file;
        }
    }

    static TempFolder* packed_;
    static std::string installer_;
};

TempFolder* WizardSession::packed_ = nullptr;
std::string WizardSession::installer_;

TEST_F(WizardSession, InstallPressedOnTheOrcaMachineCopiesTheOrcaModules) {
    const Session run = Install("orca-slim-nt.reg", "i\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ExpectContains(run, "| Norvask Rovane Stashwell ver 1.1 ");
    ExpectContains(run, "+--/    Install    \\---");
    ExpectContains(run, "| [Rovane found: [E] drive  ");
    ExpectContains(run, "| [Ready to INSTALL!  ");
    ExpectContains(run, kEmptyBand);
    ExpectContains(run, "[ Install ]  [ Cancel ]");
    ExpectContains(run, "~ ROVANE ~");
    ExpectContains(run, "> i\n\n" + kThanks + "  '-- [ OK ]\nThe sheet closes.\n");
    ExpectInstalled(E(), "orca");
    EXPECT_TRUE(fs::is_empty(FolderOf(f)));
}

TEST_F(WizardSession, KestrelAndNinetyFiveFamilyMachinesGetTheirModules) {
    EXPECT_EQ(Install("kestrel-prism-nt.reg", "i\n").exitCode, 0);
    ExpectInstalled(FolderOf(f), "kestrel");
    const Session nineX = Install("orca-slim-9x.reg", "i\n", {"--family", "9x"});
    ExpectContains(nineX, kThanks);
    ExpectInstalled(E(), "orca");
}

TEST_F(WizardSession, NoDriveHidesTheSupportLineAndTheInstallButton) {
    const Session run = Install("no-drive-nt.reg", "i\n");
    EXPECT_EQ(run.exitCode, 0);
    ExpectContains(run, "| [No flash drive detected.  ");
    ExpectContains(run, "| [Please insert Rovane Slim or Prism] |");
    ExpectLacks(run, kEmptyBand);
    ExpectLacks(run, "[ Install ]");
    ExpectLacks(run, "ROVANE");
    ExpectContains(run, "> i\nThere is no Install button to press.\n");
    ExpectContains(run, "Cancel pressed: the sheet closes.\n");
    EXPECT_TRUE(fs::is_empty(E()));
}

TEST_F(WizardSession, InstallerWithoutModulesSaysTheyAreNotIncluded) {
    const Session run = setuptest::RunSession(
        STASHWELL_SETUP_PATH,
        {"--registry", ExampleMachine("orca-slim-nt.reg"), "--drive", e.Mapping('E')}, "c\n");
    ExpectContains(run, "| [Stashwell ver 1.1 is NOT included!] |");
    ExpectContains(run, kEmptyBand);
    ExpectLacks(run, "[ Install ]");
}

// A store whose walk fails says nothing of what it holds.
TEST_F(WizardSession, StoreThatCannotBeWalkedIsNotReady) {
    std::ofstream out(FolderOf(f) + "/Broken.exe", std::ios::binary);
    std::istringstream stub("MZ"), payload("x");
    pack::StoreWriter writer(out, stub);
    writer.Append(payload, 1, {"NRVK_OEM_INSTALLER_PREDEFFILE_IDX_O", "Stash.exe", "", 0x80});
    payload.clear();
    payload.seekg(0);
    writer.Append(payload, 1, {"NOT_A_STORE_TAG", "x", "", 0x80});
    out.close();
    const Session run =
        Install("orca-slim-nt.reg", "i\n", {"--installer", FolderOf(f) + "/Broken.exe"});
    ExpectContains(run, "| [Stashwell ver 1.1 is NOT included!] |");
    ExpectLacks(run, "[ Install ]");
    ExpectContains(run, "There is no Install button to press.");
}

TEST_F(WizardSession, MixOfDriveGroupsIsRefusedBeforeTheSheetIsDrawn) {
    const Session run = Install("mixed-groups-nt.reg", "i\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "\n" +
                           AppBox("More than one Suported Rovane detected under "
                                  "Windows.\nPlease unplug one and restart the application!") +
                           "  '-- [ OK ]\nThe program ends.\n");
}

TEST_F(WizardSession, ExistingFilesAreReplacedOnlyOnYes) {
    fs::create_directories(E() / "HelpFiles");
    std::ofstream(E() / "HelpFiles" / "Stash.hlp") << "old help";
    std::ofstream(E() / "Stash.exe") << "old program";
    const Session run = Install("orca-slim-nt.reg", "i\nn\ny\n");
    ExpectContains(run, Overwrite("E:\\HelpFiles\\Stash.hlp") +
                            "  '-- [ Yes ]  [ No ]\n  Yes or No? [y/n] > n\n");
    ExpectContains(run, Overwrite("E:\\Stash.exe") +
                            "  '-- [ Yes ]  [ No ]\n  Yes or No? [y/n] > y\n\n" + kThanks);
    EXPECT_EQ(Slurp(E() / "HelpFiles" / "Stash.hlp"), "old help");
    EXPECT_EQ(Slurp(E() / "Stash.exe"), Slurp(kPayload + "/orca/Stash.exe"));
}

TEST_F(WizardSession, EndOfInputAtAQuestionAnswersNo) {
    std::ofstream(E() / "Stash.ini") << "old settings";
    const Session run = Install("orca-slim-nt.reg", "i\n");
    ExpectContains(run, Overwrite("E:\\Stash.ini"));
    ExpectContains(run, kThanks);
    EXPECT_EQ(Slurp(E() / "Stash.ini"), "old settings");
}

TEST_F(WizardSession, FailedInstallationSaysGoodByeAndKeepsTheSheetOpen) {
    // A folder where the program goes: it cannot be opened, nor replaced.
    fs::create_directories(E() / "Stash.exe" / "inside");
    const Session run = Install("orca-slim-nt.reg", "i\nc\n");
    EXPECT_EQ(run.exitCode, 0);
    ExpectLacks(run, "Overwrite");
    ExpectContains(run, kFailed + "  '-- [ OK ]\n\n+---");
    ExpectContains(run, "> c\nCancel pressed: the sheet closes.\n");
    EXPECT_TRUE(fs::exists(E() / "StashLib.dll"));
}

TEST_F(WizardSession, FileThatCannotBeDeletedIsReportedInThreeBoxes) {
    const fs::path target = E() / "Stash.exe";
    std::ofstream(target) << "old program";
    if (std::system(("chattr +i '" + target.string() + "' 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "this host cannot make a file undeletable";
    }
    const Session run = Install("orca-slim-nt.reg", "i\ny\n");
    std::system(("chattr -i '" + target.string() + "'").c_str());
    const std::size_t own =
        run.out.find("MB_OK | MB_ICONHAND (0x10)\n  | Unable to delete File: E:\\Stash.exe ");
    const std::size_t page =
        run.out.find("MB_OK (0x0)\n  | Unable to delete file: E:\\Stash.exe \n  | Error: Access");
    const std::size_t failed = run.out.find(kFailed);
    EXPECT_NE(own, std::string::npos) << run.out;
    EXPECT_LT(own, page);
    EXPECT_LT(page, failed);
    EXPECT_NE(failed, std::string::npos);
    EXPECT_EQ(Slurp(target), "old program");
}

TEST_F(WizardSession, DrivePulledBeforeInstallIsReportedAndThePageRedrawn) {
    const Session run =
        Install("orca-slim-nt.reg", "registry " + ExampleMachine("no-drive-nt.reg") + "\ni\nc\n");
    const std::size_t box = run.out.find(AppBox("Unable to get Rovane Information!"));
    ASSERT_NE(box, std::string::npos) << run.out;
    const std::string after = run.out.substr(box);
    EXPECT_NE(after.find("| [No flash drive detected."), std::string::npos) << after;
    EXPECT_EQ(after.find("[ Install ]"), std::string::npos) << after;
    // The banner was decided at start and stays.
    EXPECT_NE(after.find("~ ROVANE ~"), std::string::npos) << after;
    EXPECT_TRUE(fs::is_empty(E()));
}

TEST_F(WizardSession, DriveOfAnotherVariantAtInstallEndsTheProgram) {
    const Session run = Install("orca-slim-nt.reg",
                                "registry " + ExampleMachine("kestrel-prism-nt.reg") + "\ni\nc\n");
    EXPECT_EQ(run.exitCode, 0);
    ExpectContains(run, AppBox("The Rovane has been changed!. Please restart the "
                               "application!\nGood Bye!") +
                            "  '-- [ OK ]\nThe program ends.\n");
    ExpectLacks(run, "Cancel pressed");
    EXPECT_TRUE(fs::is_empty(E()));
    EXPECT_TRUE(fs::is_empty(FolderOf(f)));
}

TEST_F(WizardSession, TreeListsTheDriveWithSizesAndAttributes) {
    Install("orca-slim-nt.reg", "i\n");
    const Session tree =
        setuptest::RunSession(installer_, {"--drive", e.Mapping('E'), "--tree", "E"}, "");
    EXPECT_EQ(tree.out,
              "      <DIR>  D     (0x10)  E:\\BackupStorage\\\n"
              "         49  H     (0x2)   E:\\BackupStorage\\Backup.dat\n"
              "      <DIR>  D     (0x10)  E:\\HelpFiles\\\n"
              "        123  N     (0x80)  E:\\HelpFiles\\Stash.cnt\n"
              "        147  N     (0x80)  E:\\HelpFiles\\Stash.hlp\n"
              "       5301  N     (0x80)  E:\\Stash.exe\n"
              "         92  H     (0x2)   E:\\Stash.ini\n"
              "        578  N     (0x80)  E:\\StashLib.dll\n");
}

TEST_F(WizardSession, DrivesOffTheMapReachNothingOfTheHost) {
    const std::string nt = Slurp(ExampleMachine("orca-slim-nt.reg"));
    const std::string nineX = Slurp(ExampleMachine("orca-slim-9x.reg"));
    const std::string assignment = "\"CurrentDriveLetterAssignment\"=\"E\"";
    const std::pair<std::string, std::string> cases[] = {
        // The Orca disk mounted at C:, which exists but is mapped to nothing.
        {"nt", Replaced(nt, "\"\\\\DosDevices\\\\E:\"", "\"\\\\DosDevices\\\\C:\"")},
        {"9x", Replaced(nineX, assignment, "\"CurrentDriveLetterAssignment\"=\"/\"")},
        {"9x", Replaced(nineX, assignment, "\"CurrentDriveLetterAssignment\"=\"\\\\\"")},
        {"9x", Replaced(nineX, assignment, "\"CurrentDriveLetterAssignment\"=\".\"")},
        {"9x", Replaced(nineX, assignment, "\"CurrentDriveLetterAssignment\"=\"1\"")},
        {"9x", Replaced(nineX, assignment, "\"CurrentDriveLetterAssignment\"=\"Q\"")},
        {"9x", Replaced(nineX, assignment, "\"CurrentDriveLetterAssignment\"=\"\x1b\"")},
    };
    const TempFolder machines;
    const std::set<std::string> root = Entries("/");
    const std::set<std::string> here = Entries(fs::current_path());
    for (const auto& [family, registry] : cases) {
        const Session run = setuptest::RunSession(
            installer_,
            {"--family", family, "--registry", machines.Write("machine.reg", registry), "--drive",
             e.Mapping('E'), "--drive", f.Mapping('F')},
            "i\n");
        ExpectContains(run, kFailed);
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
        EXPECT_TRUE(fs::is_empty(E()) && fs::is_empty(FolderOf(f))) << registry;
    }
    EXPECT_EQ(Entries("/"), root);
    EXPECT_EQ(Entries(fs::current_path()), here);
}

TEST_F(WizardSession, MissingInstallerFileIsRefused) {
    const Session run = Install("orca-slim-nt.reg", "i\n", {"--installer", "/no/such/installer"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("/no/such/installer"), std::string::npos) << run.err;
}

}  // namespace
