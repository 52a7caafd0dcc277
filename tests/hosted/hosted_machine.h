// A hosted machine for the tests: a fresh host folder under /tmp mapped as
// drive E:, beside a folder outside every drive, removed when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/hosted_system.h"

namespace hosted_test {

namespace fs = std::filesystem;

class HostedMachine : public ::testing::Test {
  protected:
    HostedMachine() {
        std::string pattern = (fs::temp_directory_path() / "stashwell-hosted-XXXXXX").string();
        EXPECT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
        top_ = pattern;
        fs::create_directory(drive());
        fs::create_directory(outside());
        drives_.Map('E', drive());
    }
    ~HostedMachine() override { fs::remove_all(top_); }
    fs::path drive() const { return top_ / "drive"; }
    fs::path outside() const { return top_ / "outside"; }
    static void WriteFile(const fs::path& path) { std::ofstream(path) << "x"; }

    fs::path top_;
    hosted::DriveMap drives_;
    hosted::LastError lastError_;
    hosted::HostedFileSystem files_{drives_, lastError_};
    hosted::HostedSystem system_{drives_, lastError_};
};

}  // namespace hosted_test
