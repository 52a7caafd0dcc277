// A whole simulated Windows machine for unit tests: an in-memory file system
// and registry, system facts and scripted message boxes, all behind one
// FaultPlan, wired into the platform::Platform that the logic takes.
#pragma once

#include "doubles/fake_system.h"
#include "doubles/fault_plan.h"
#include "doubles/faulty_registry.h"
#include "doubles/memory_file_system.h"
#include "doubles/scripted_ui.h"
#include "platform/hosted/last_error.h"
#include "platform/hosted/memory_registry.h"
#include "platform/platform.h"

namespace doubles {

struct FakeMachine {
    FaultPlan faults;
    hosted::LastError lastError;
    MemoryFileSystem files{lastError, faults};
    hosted::MemoryRegistry registryData;
    FaultyRegistry registry{registryData, faults};
    FakeSystem system{lastError, faults};
    ScriptedUi ui;
    platform::Platform os{files, registry, system, ui};

    FakeMachine() { files.AddDrive('C'); }
};

}  // namespace doubles
