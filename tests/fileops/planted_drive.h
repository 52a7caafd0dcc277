// A drive E: with an entry of each kind, and a read-only tree with links out.
#pragma once

#include "testbed/test_machine.h"

namespace fileops_test {

inline void PlantDrive(testbed::TestMachine& machine) {
    constexpr std::uint32_t kRo = win::kFileAttributeReadonly;
    machine.AddDrive('E');
    machine.AddFile("E:\\Stash.hlp", "help");
    machine.AddFile("E:\\ro.txt", "r", kRo);
    machine.AddFolder("E:\\Empty");
    machine.AddFile("E:\\Data\\a.txt", "a", kRo | win::kFileAttributeHidden);
    machine.AddFile("E:\\Data\\Sub\\Deeper\\b.txt", "b", kRo);
    machine.AddFolder("E:\\Data\\Sub", win::kFileAttributeDirectory | kRo);
    machine.AddFolderLink("E:\\Data\\Link", "E:\\Keep");
    machine.AddFolderLink("E:\\Data\\Dangling", "E:\\Gone");
    machine.AddFolder("E:\\Data", win::kFileAttributeDirectory | kRo);
    machine.AddFile("E:\\Database.txt", "a neighbour");
    machine.AddFile("E:\\Keep\\precious.txt", "mine");
    machine.AddFolderLink("E:\\Link", "E:\\Keep");
}

}  // namespace fileops_test
