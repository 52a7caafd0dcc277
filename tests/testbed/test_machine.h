// A whole simulated Windows machine for the tests: the hosted machine, its
// drives mapped to a fresh folder under /tmp (removed when the machine goes),
// its registry in memory, message boxes answered from a script, and every
// call of the seam going through the faulty wrappers of one FaultPlan.
//
// It starts as an NT machine with drive C:, running kInstallerPath from the
// current directory "C:\". Entries are set up and inspected past the
// wrappers, so that neither counts as a call of the logic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/hosted/drive_map.h"
#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/hosted_system.h"
#include "platform/hosted/last_error.h"
#include "platform/hosted/memory_registry.h"
#include "platform/platform.h"
#include "testbed/faulty_files.h"
#include "testbed/scripted_ui.h"

namespace testbed {

inline constexpr char kInstallerPath[] = "C:\\Setup\\StashwellSetup.exe";

class TestMachine {
  public:
    TestMachine();
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    hosted::MachineFacts& facts() { return hostSystem_.facts(); }

    // A new empty drive at the letter (either case), replacing any there.
    void AddDrive(char letter);
    // The drive disappears, as a pulled drive does: its paths fail with
    // ERROR_PATH_NOT_FOUND and its bit leaves the logical drives.
    void PullDrive(char letter) { drives_.Unmap(letter); }
    // Parent folders are made as needed; a file that exists is replaced.
    void AddFolder(const std::string& path, std::uint32_t attributes = 0x10);
    void AddFile(const std::string& path, const std::string& contents,
                 std::uint32_t attributes = 0x80);
    // A folder link at path that leads to the folder target of the same drive.
    void AddFolderLink(const std::string& path, const std::string& target);

    bool Exists(const std::string& path) { return Attributes(path) != win::kInvalidFileAttributes; }
    std::string Contents(const std::string& path);  // empty when missing
    std::uint32_t Attributes(const std::string& path);
    // Every entry below a drive, folders ending in a backslash, in name
    // order: "E:\HelpFiles\", "E:\HelpFiles\Stash.hlp", ... A folder link is
    // listed as a folder, without what it leads to.
    std::vector<std::string> Tree(char letter) const;

    FaultPlan faults;
    ScriptedUi ui;
    hosted::MemoryRegistry registryData;

  private:
    void AddParents(const std::string& path);  // the folders that hold path

    std::string top_;
    hosted::DriveMap drives_;
    hosted::LastError lastError_;
    hosted::HostedFileSystem hostFiles_{drives_, lastError_};
    hosted::HostedSystem hostSystem_{drives_, lastError_};

  public:
    FaultySystem system{hostSystem_, faults};
    FaultyFiles files{hostFiles_, system, faults};
    FaultyRegistry registry{registryData, faults};
    platform::Platform os{files, registry, system, ui};
};

}  // namespace testbed
