// A simulated machine whose file system also records the byte counts of
// every read and write, and can report another length for the installer.
#pragma once

#include <optional>
#include <vector>

#include "doubles/fake_machine.h"

namespace storetest {

class RecordingFileSystem : public doubles::MemoryFileSystem {
  public:
    using MemoryFileSystem::MemoryFileSystem;

    std::vector<unsigned> reads;   // the counts asked for
    std::vector<unsigned> writes;  // the counts asked for
    std::optional<std::uint64_t> reportedLength;

    int Read(int handle, void* buffer, unsigned count) override {
        reads.push_back(count);
        return MemoryFileSystem::Read(handle, buffer, count);
    }
    int Write(int handle, const void* buffer, unsigned count) override {
        writes.push_back(count);
        return MemoryFileSystem::Write(handle, buffer, count);
    }
    bool GetFileLength(const std::string& path, std::uint64_t& length) override {
        const bool found = MemoryFileSystem::GetFileLength(path, length);
        if (found && reportedLength) {
            length = *reportedLength;
        }
        return found;
    }
};

struct RecordingMachine {
    doubles::FakeMachine base;
    RecordingFileSystem files{base.lastError, base.faults};
    platform::Platform os{files, base.registry, base.system, base.ui};

    RecordingMachine() {
        files.AddDrive('C');
        files.AddDrive('E');
    }
};

}  // namespace storetest
