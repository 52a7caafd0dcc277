// The installer on a test machine of either Windows family, with drive E:,
// and its store; the installer of one module that extractions take.
#pragma once

#include "store/module_store.h"
#include "testbed/installer.h"
#include "testbed/test_machine.h"

namespace storetest {

inline const std::string kPayload = testbed::Pattern(2500);
inline const testbed::Installer kOne =
    testbed::BuildInstaller({{store::kOrcaTag, "Stash.exe", "", kPayload, 2}});
inline const auto kAt = static_cast<std::int32_t>(kOne.placements[0].payloadOffset);
inline constexpr char kTarget[] = "E:\\Stash.exe";

struct StoreBench {
    explicit StoreBench(const std::string& installer = kOne.bytes, bool nt = true) {
        machine.facts().platformId = nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
        machine.AddFile(testbed::kInstallerPath, installer);
        machine.AddDrive('E');
    }
    testbed::TestMachine machine;
    store::ModuleStore store{machine.os, testbed::kInstallerPath};
};

}  // namespace storetest
