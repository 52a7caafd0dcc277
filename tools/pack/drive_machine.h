// A hosted machine with one drive letter mapped to a host folder, on which
// the installer's store operations run outside the installer: message boxes
// go to standard error and every question is answered No.
#pragma once

#include <filesystem>

#include "platform/hosted/drive_map.h"
#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/hosted_system.h"
#include "platform/hosted/memory_registry.h"
#include "platform/hosted/stderr_ui.h"
#include "platform/platform.h"

namespace pack {

class DriveMachine {
  public:
    // Throws PackError when the folder cannot stand as the drive.
    DriveMachine(char letter, const std::filesystem::path& folder);
    DriveMachine(const DriveMachine&) = delete;
    DriveMachine& operator=(const DriveMachine&) = delete;

    // Makes an installer file reachable under its host path; throws
    // PackError when it is no regular file.
    void MapInstaller(const std::filesystem::path& installer);

    platform::Platform& Os() { return os_; }
    hosted::HostedSystem& System() { return system_; }

  private:
    hosted::DriveMap drives_;
    hosted::LastError lastError_;
    hosted::HostedFileSystem files_{drives_, lastError_};
    hosted::MemoryRegistry registry_;
    hosted::HostedSystem system_{drives_, lastError_};
    hosted::StderrUserInterface ui_{"stashwell-pack"};
    platform::Platform os_{files_, registry_, system_, ui_};
};

}  // namespace pack
