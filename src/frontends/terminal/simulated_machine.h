// The Windows machine that stashwell-setup runs the installer's logic on:
// a registry replayed from .reg files, drive letters mapped to folders,
// the family of Windows and the current directory, and message boxes on
// standard error.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/hosted/drive_map.h"
#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/hosted_system.h"
#include "platform/hosted/last_error.h"
#include "platform/hosted/memory_registry.h"
#include "platform/hosted/stderr_ui.h"
#include "platform/platform.h"

namespace setup {

struct MachineDescription {
    std::vector<std::string> registryFiles;  // loaded in order
    bool ntFamily = true;
    std::vector<std::pair<char, std::string>> drives;  // letter and host folder
    std::string currentDirectory = "C:\\";
    hosted::CurrentDirectoryMode currentDirectoryMode = hosted::CurrentDirectoryMode::Readable;
    // The running installer's file (GetModuleFileNameA), a host path; empty
    // for this program's own file.
    std::string installerPath;
};

class SimulatedMachine {
  public:
    // The machine described; null with error set when a .reg file cannot be
    // loaded ("FILE:LINE: what is wrong") or a drive's folder is missing.
    static std::unique_ptr<SimulatedMachine> Build(const MachineDescription& description,
                                                   std::string& error);

    platform::Platform& os() { return os_; }
    // The registry, which may change while the installer runs.
    hosted::MemoryRegistry& registry() { return registry_; }

  private:
    SimulatedMachine();

    hosted::LastError lastError_;
    hosted::DriveMap drives_;
    hosted::MemoryRegistry registry_;
    hosted::HostedFileSystem files_;
    hosted::HostedSystem system_;
    hosted::StderrUserInterface ui_;
    platform::Platform os_;
};

}  // namespace setup
