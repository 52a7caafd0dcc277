// The seam's four parts on the running Windows, bundled for the installer.
#pragma once

#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_user_interface.h"

namespace platform::win32 {

class Win32Platform {
  public:
    explicit Win32Platform(std::string applicationTitle) : ui_(std::move(applicationTitle)) {}
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& Get() { return platform_; }

  private:
    Win32FileSystem files_;
    Win32Registry registry_;
    Win32System system_;
    Win32UserInterface ui_;
    Platform platform_{files_, registry_, system_, ui_};
};

}  // namespace platform::win32
