// Pressing Install: the modules of the drive's variant copied onto it, the
// questions before a file is replaced, and every way the installation stops.
#include <gtest/gtest.h>

#include "doubles/fault_plan.h"
#include "wizard_fixture.h"

namespace wizard_test {
namespace {

using doubles::Call;
using doubles::ShownBox;

constexpr char kComplete[] = "Thank you for using Norvask product!\r\nInstallation Complete!";
constexpr char kFailed[] = "Unable To Continue Installation!\r\nGood Bye!";

std::string OverwriteQuestion(const std::string& target) {
    return target + " \r\nalready exist!  Delete this file before Installing?";
}

// Six modules of each variant, the Kestrel ones first.
std::vector<Module> SixOfEach() {
    std::vector<Module> modules;
    for (const char* variant : {"K", "O"}) {
        for (int i = 1; i <= 6; ++i) {
            const std::string name = std::string(variant) + std::to_string(i) + ".dat";
            modules.push_back({std::string(store::kPredefinedPrefix) + variant, name,
                               i % 2 == 0 ? "HelpFiles" : "", variant + std::to_string(i),
                               i == 3 ? win::kFileAttributeHidden : win::kFileAttributeNormal});
        }
    }
    return modules;
}

class InstallPageApply : public WizardTest {
  protected:
    void SetUp() override {
        Pack(SixOfEach());
        drives.Plug(kOrcaSlim, 'E');
    }
    int Count(Call call) const { return machine.faults.Count(call); }
};

TEST_F(InstallPageApply, CopiesOnlyTheDetectedVariantsModulesThenThanks) {
    OpenSheet();
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(machine.files.Tree('E'),
              (std::vector<std::string>{"E:\\HelpFiles\\", "E:\\HelpFiles\\O2.dat",
                                        "E:\\HelpFiles\\O4.dat", "E:\\HelpFiles\\O6.dat",
                                        "E:\\O1.dat", "E:\\O3.dat", "E:\\O5.dat"}));
    EXPECT_EQ(machine.files.Contents("E:\\HelpFiles\\O4.dat"), "O4");
    EXPECT_EQ(machine.files.Contents("E:\\O5.dat"), "O5");
    EXPECT_TRUE(machine.files.Attributes("E:\\O3.dat") & win::kFileAttributeHidden);
    EXPECT_EQ(machine.ui.shown, (std::vector<ShownBox>{{kComplete, "", win::kMbOk}}));
    EXPECT_EQ(machine.ui.waitCursorDepth, 0);
}

TEST_F(InstallPageApply, CopiesTheModuleAppendedLastFirst) {
    OpenSheet();
    // The third copy cannot be created: the two appended last are on the drive.
    machine.faults.FailNth(Call::CreateExclusive, 3, win::kErrorAccessDenied);
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(machine.files.Tree('E'),
              (std::vector<std::string>{"E:\\HelpFiles\\", "E:\\HelpFiles\\O6.dat", "E:\\O5.dat"}));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kFailed}));
}

TEST_F(InstallPageApply, EachPressWalksTheStoreAfreshFromItsEnd) {
    OpenSheet();
    machine.faults.FailNth(Call::CreateExclusive, 2, win::kErrorAccessDenied);
    EXPECT_FALSE(PressInstall());
    machine.ui.answers = {win::kIdNo};  // keep O6.dat, copied by the first press
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(machine.files.Tree('E').size(), 7u);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           kFailed, OverwriteQuestion("E:\\HelpFiles\\O6.dat"), kComplete}));
}

TEST_F(InstallPageApply, ModuleWithoutExtractPathGoesToTheRootAndMissingFolderIsMade) {
    Pack({OrcaModule("Stash.hlp", "HelpFiles", "help"), OrcaModule("Stash.exe", "", "program")});
    OpenSheet();
    const int foldersBefore = Count(Call::CreateDirectory);
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(machine.files.Contents("E:\\Stash.exe"), "program");
    EXPECT_EQ(machine.files.Contents("E:\\HelpFiles\\Stash.hlp"), "help");
    EXPECT_EQ(Count(Call::CreateDirectory) - foldersBefore, 1);
}

TEST_F(InstallPageApply, ExistingFolderIsNotMadeAgain) {
    Pack({OrcaModule("Stash.hlp", "HelpFiles", "help")});
    machine.files.AddFolder("E:\\HelpFiles");
    OpenSheet();
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(Count(Call::CreateDirectory), 0);
    EXPECT_EQ(machine.files.Contents("E:\\HelpFiles\\Stash.hlp"), "help");
}

TEST_F(InstallPageApply, NoToEveryExistingTargetCopiesNothingYetThanks) {
    Pack({OrcaModule("A.dat", "", "new A"), OrcaModule("B.dat", "Lib", "new B")});
    machine.files.AddFile("E:\\A.dat", "old A");
    machine.files.AddFile("E:\\Lib\\B.dat", "old B");
    OpenSheet();
    machine.ui.answers = {win::kIdNo, win::kIdNo};
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(machine.files.Contents("E:\\A.dat"), "old A");
    EXPECT_EQ(machine.files.Contents("E:\\Lib\\B.dat"), "old B");
    const unsigned question = win::kMbYesNo | win::kMbIconQuestion;
    EXPECT_EQ(machine.ui.shown,
              (std::vector<ShownBox>{{OverwriteQuestion("E:\\Lib\\B.dat"), "Overwrite", question},
                                     {OverwriteQuestion("E:\\A.dat"), "Overwrite", question},
                                     {kComplete, "", win::kMbOk}}));
}

TEST_F(InstallPageApply, NoToOneTargetKeepsItAndCopiesTheRest) {
    Pack({OrcaModule("A.dat", "", "new A"), OrcaModule("B.dat", "", "new B")});
    machine.files.AddFile("E:\\A.dat", "old A", win::kFileAttributeReadonly);
    machine.files.AddFile("E:\\B.dat", "old B");
    OpenSheet();
    machine.ui.answers = {win::kIdNo, win::kIdYes};
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(machine.files.Contents("E:\\B.dat"), "old B");
    // Yes replaces even a read-only file without a further question.
    EXPECT_EQ(machine.files.Contents("E:\\A.dat"), "new A");
    EXPECT_EQ(Boxes().back(), kComplete);
    EXPECT_EQ(Boxes().size(), 3u);
}

TEST_F(InstallPageApply, NoModuleOfTheVariantAtInstallFailsAndKeepsTheSheetOpen) {
    OpenSheet();
    Pack({KestrelModule("K.dat", "", "k")});
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(machine.ui.shown, (std::vector<ShownBox>{{kFailed, "", win::kMbOk}}));
    EXPECT_TRUE(machine.files.Tree('E').empty());
    EXPECT_TRUE(view.okVisible);
}

TEST_F(InstallPageApply, StoreThatFailsDuringTheWalkStopsTheInstallation) {
    OpenSheet();
    Pack({OrcaModule("A.dat", "", "a"),
          {"NOT_A_STORE_TAG", "x", "", "x"},
          OrcaModule("B.dat", "", "b")});
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(machine.files.Tree('E'), (std::vector<std::string>{"E:\\B.dat"}));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kFailed}));
}

TEST_F(InstallPageApply, DrivePulledBeforeInstallShowsNoDriveAndHidesInstall) {
    OpenSheet();
    drives.Pull('E');
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(LineText(wizard::kDriveLineId), "No flash drive detected.");
    EXPECT_EQ(LineText(wizard::kModuleLineId), "Please insert Rovane Slim or Prism");
    EXPECT_FALSE(LineVisible(wizard::kSupportLineId));
    EXPECT_FALSE(view.okVisible);
    EXPECT_EQ(machine.ui.shown,
              (std::vector<ShownBox>{{"Unable to get Rovane Information!", "", win::kMbOk}}));
}

TEST_F(InstallPageApply, OrcaReplacedByKestrelEndsTheProgram) {
    OpenSheet();
    drives.Pull('E');
    drives.Plug(kKestrelGeneric, 'E');
    try {
        Page().OnApply();
        FAIL() << "the installation went on with another kind of drive";
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.status, 0);
    }
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"The Rovane has been changed!. Please restart "
                                                 "the application!\r\nGood Bye!"}));
    EXPECT_TRUE(machine.files.Tree('E').empty());
}

TEST_F(InstallPageApply, OrcaMovedToAnotherLetterIsInstalledAtTheLetterOfTheLastRefresh) {
    OpenSheet();
    drives.Pull('E');
    drives.Plug(kOrcaSlim, 'F');
    machine.files.AddDrive('E');
    EXPECT_TRUE(PressInstall());
    EXPECT_EQ(machine.files.Tree('E').size(), 7u);
    EXPECT_TRUE(machine.files.Tree('F').empty());
    EXPECT_EQ(LineText(wizard::kDriveLineId), "Rovane found: [E] drive");
}

TEST_F(InstallPageApply, TargetThatCannotBeOpenedIsNotAskedAboutAndFailsToCopy) {
    Pack({OrcaModule("A.dat", "", "new A")});
    machine.files.AddFile("E:\\A.dat", "old A");
    OpenSheet();
    // The page probes the target as the framework's file opens it, after the
    // walk has measured the installer the same way.
    machine.faults.FailNth(Call::GetFileLength, Count(Call::GetFileLength) + 2,
                           win::kErrorSharingViolation);
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kFailed}));
    EXPECT_EQ(machine.files.Contents("E:\\A.dat"), "old A");
}

TEST_F(InstallPageApply, FailedDeletionIsReportedInThreeBoxesInOrder) {
    Pack({OrcaModule("A.dat", "", "new A")});
    machine.files.AddFile("E:\\A.dat", "old A");
    OpenSheet();
    machine.faults.FailNth(Call::DeleteFile, 1, win::kErrorAccessDenied);
    machine.ui.answers = {win::kIdYes};
    EXPECT_FALSE(PressInstall());
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0], OverwriteQuestion("E:\\A.dat"));
    EXPECT_EQ(boxes[1].rfind("Unable to delete File: E:\\A.dat", 0), 0u) << boxes[1];
    EXPECT_EQ(boxes[2], "Unable to delete file: E:\\A.dat \r\nError: " +
                            machine.system.FormatMessageA(win::kErrorAccessDenied));
    EXPECT_EQ(boxes[3], kFailed);
    EXPECT_EQ(machine.files.Contents("E:\\A.dat"), "old A");
}

TEST_F(InstallPageApply, FolderThatCannotBeMadeStopsTheInstallation) {
    Pack({OrcaModule("Stash.hlp", "HelpFiles", "help")});
    OpenSheet();
    machine.faults.FailNth(Call::CreateDirectory, 1, win::kErrorWriteProtect);
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kFailed}));
    EXPECT_TRUE(machine.files.Tree('E').empty());
}

TEST_F(InstallPageApply, ExtractionThatFailsKeepsWhatWasCopiedBefore) {
    Pack({OrcaModule("A.dat", "", std::string(3000, 'a')), OrcaModule("B.dat", "", "b")});
    machine.files.SetCapacity('E', 2000);
    OpenSheet();
    EXPECT_FALSE(PressInstall());
    EXPECT_EQ(machine.files.Contents("E:\\B.dat"), "b");
    EXPECT_FALSE(machine.files.Exists("E:\\A.dat"));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kFailed}));
}

}  // namespace
}  // namespace wizard_test
