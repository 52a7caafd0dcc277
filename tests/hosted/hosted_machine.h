// A simulated machine for the tests: a fresh host folder under /tmp mapped
// as drive E:, removed again when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/hosted/drive_map.h"
#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/last_error.h"

namespace hosted_test {

namespace fs = std::filesystem;

class HostedMachine : public ::testing::Test {
  protected:
    HostedMachine() {
        std::string pattern = (fs::temp_directory_path() / "stashwell-hosted-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a folder like " << pattern;
        }
        top_ = pattern;
        fs::create_directory(drive());
        fs::create_directory(outside());
        drives_.Map('E', drive());
    }
    ~HostedMachine() override { fs::remove_all(top_); }

    fs::path drive() const { return top_ / "drive"; }
    // A folder beside the drive's folder, outside the drive.
    fs::path outside() const { return top_ / "outside"; }

    static void WriteFile(const fs::path& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }

    hosted::DriveMap drives_;
    hosted::LastError lastError_;
    hosted::HostedFileSystem files_{drives_, lastError_};

  private:
    fs::path top_;
};

}  // namespace hosted_test
