// stashwell-setup --detect, run as a user runs it, on the sample machines and
// on registries exported by a registry editor.
#include <gtest/gtest.h>

#include "setup_run.h"

namespace {

using setuptest::ExampleMachine;
using setuptest::RunSetup;
using setuptest::TempFolder;

class DetectOption : public ::testing::Test {
  protected:
    TempFolder e;
    TempFolder f;

    // --detect on an NT machine with drives E: and F: and the given registry.
    setuptest::Run DetectOn(const std::string& machine, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {
            "--registry", ExampleMachine(machine), "--drive", e.Mapping('E'),
            "--drive",    f.Mapping('F'),          "--detect"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunSetup(arguments);
    }
    static void ExpectVerdict(const setuptest::Run& run, const std::string& verdict) {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, verdict + "\n");
    }
};

TEST_F(DetectOption, EachSampleMachineGetsItsVerdict) {
    ExpectVerdict(DetectOn("orca-slim-nt.reg"), "drive=E variant=1 mix=2");
    ExpectVerdict(DetectOn("kestrel-prism-nt.reg"), "drive=F variant=2 mix=1");
    ExpectVerdict(DetectOn("mixed-groups-nt.reg"), "drive=none variant=-1 mix=4");
    ExpectVerdict(DetectOn("no-drive-nt.reg"), "drive=none variant=-1 mix=0");
    ExpectVerdict(
        RunSetup({"--family", "9x", "--registry", ExampleMachine("orca-slim-9x.reg"), "--detect"}),
        "drive=E variant=1 mix=2");
}

TEST_F(DetectOption, LetterNeedsItsDriveOnTheNtFamily) {
    ExpectVerdict(RunSetup({"--registry", ExampleMachine("orca-slim-nt.reg"), "--detect"}),
                  "drive=none variant=-1 mix=2");
    // The same registry read as the 95 family's has no device tree.
    ExpectVerdict(
        RunSetup({"--family", "9x", "--registry", ExampleMachine("orca-slim-nt.reg"), "--detect"}),
        "drive=none variant=-1 mix=0");
}

TEST_F(DetectOption, RegistriesExportedByARegistryEditorReplay) {
    ExpectVerdict(
        RunSetup({"--registry", setuptest::ExportedFixture("wine-system-orca-slim-nt.reg"),
                  "--drive", e.Mapping('E'), "--detect"}),
        "drive=E variant=1 mix=2");
    ExpectVerdict(
        RunSetup({"--family", "9x", "--registry",
                  setuptest::ExportedFixture("wine-dyn-data-orca-slim-9x.reg"), "--registry",
                  setuptest::ExportedFixture("wine-enum-orca-slim-9x.reg"), "--detect"}),
        "drive=E variant=1 mix=2");
}

TEST_F(DetectOption, CurrentDirectoryOptions) {
    const setuptest::Run sized = DetectOn("orca-slim-nt.reg", {"--cwd", "F:\\Setup", "--no-cwd"});
    ExpectVerdict(sized, "drive=E variant=1 mix=2");
    EXPECT_EQ(sized.err, "");
    const setuptest::Run failing = DetectOn("orca-slim-nt.reg", {"--cwd-error"});
    ExpectVerdict(failing, "drive=none variant=-1 mix=2");
    EXPECT_EQ(failing.err, "[stashwell-setup] System Error: Access is denied.\n!\n");
}

TEST_F(DetectOption, NonPrintableLetterIsWrittenAsItsByteValue) {
    const std::string file =
        e.Write("odd-letter.reg",
                "REGEDIT4\n"
                "[HKEY_DYN_DATA\\Config Manager\\Enum\\C1]\n"
                "\"HardWareKey\"=\"USB\\\\VID_3107&PID_9340\\\\1\"\n"
                "[HKEY_DYN_DATA\\Config Manager\\Enum\\C2]\n"
                "\"HardWareKey\"=\"SCSI\\\\NORVASK_ROVANE_SLIM_____0\\\\1\"\n"
                "[HKEY_LOCAL_MACHINE\\Enum\\SCSI\\NORVASK_ROVANE_SLIM_____0\\1]\n"
                "\"CurrentDriveLetterAssignment\"=hex:ff\n");
    ExpectVerdict(RunSetup({"--family", "9x", "--registry", file, "--detect"}),
                  "drive=255 variant=1 mix=2");
}

TEST_F(DetectOption, MalformedRegistryFileIsRefusedWithItsLine) {
    const std::string file = e.Write(
        "broken.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\System]\r\n\"Count\"=dword:xyz\r\n");
    const setuptest::Run run = RunSetup(
        {"--registry", ExampleMachine("orca-slim-nt.reg"), "--registry", file, "--detect"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, file + ":4: dword: must be followed by up to 8 hex digits\n");
}

TEST_F(DetectOption, BadMachineDescriptionsAreRefused) {
    const setuptest::Run missing = RunSetup({"--drive", "E=/no/such/folder", "--detect"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_EQ(missing.err, "drive E: no folder /no/such/folder\n");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--drive", "7=/tmp", "--detect"},
          std::vector<std::string>{"--family", "nt4", "--detect"},
          std::vector<std::string>{"--no-cwd", "--cwd-error", "--detect"}}) {
        const setuptest::Run run = RunSetup(arguments);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

TEST_F(DetectOption, InputsThatCannotBeReadAreNamedAndTheirTextsEscaped) {
    const std::string folder = e.Mapping('E').substr(2);
    const std::string missing = folder + "/missing.reg";
    const std::string hostile = f.Write("hostile.reg", "REGEDIT4\n[HKEY_\x1b[2J\x7f]\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--registry", folder}, folder + ": cannot be read: is a folder\n"},
        {{"--registry", missing}, missing + ": cannot be read: no such file\n"},
        {{"--registry", "/dev/null"}, "/dev/null: cannot be read: not a regular file\n"},
        {{"--registry", hostile}, hostile + ":2: unknown root key \"HKEY_\\x1b[2J\\x7f\"\n"},
        {{"--installer", folder},
         "stashwell-setup: --installer: cannot read the installer " + folder + ": is a folder\n"},
    };
    for (const auto& [arguments, message] : cases) {
        std::vector<std::string> detect = arguments;
        detect.push_back("--detect");
        const setuptest::Run run = RunSetup(detect);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_EQ(run.err, message);
    }
}

}  // namespace
