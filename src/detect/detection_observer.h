// What the detection finds on its way to a verdict, for a caller that wants
// to know how the verdict came about. Every call does nothing by default; the
// installer itself passes an observer that listens to none of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "detect/drive_tables.h"

namespace detect {

// Why a drive letter lookup gives no letter.
enum class LookupMiss {
    kNone,               // a letter was found
    kNoDiskEntry,        // NT: no disk of the disk service begins with the prefix
    kNoParentIdPrefix,   // NT: the disk's instance key or its "ParentIdPrefix" cannot be read
    kNoMountTable,       // NT: "System\MountedDevices" cannot be opened
    kNoMountEntry,       // NT: no letter's mount target carries the prefix
    kNotLogicalDrive,    // NT: the letters whose target carries it are no logical drives
    kNoUsbDevice,        // 95: no device with the list entry is present
    kNoDisk,             // 95: no device with the disk's hardware key is present
    kNoLetterAssignment  // 95: the first such disk has no readable letter assignment
};

struct LetterLookup {
    std::uint8_t letter = 0;
    LookupMiss miss = LookupMiss::kNone;
};

enum class VerdictReason {
    kHomeDrive,    // the step's letter is the current directory's drive
    kFirstLetter,  // the first step, in catalogue order, with a letter
    kNoHome,       // the current directory could not be sized (a message was shown)
    kNoDrives,     // the device count found no supported drive
    kNoLetter      // no step gave a letter
};

class DetectionObserver {
  public:
    // The home letter (kNoHomeLetter when the current directory cannot be
    // read); nothing when detection ends there with a message.
    virtual void HomeLetterRead(std::optional<std::uint8_t> /*home*/) {}
    // One pass of the device count: the list and entry that matched text
    // first, or null for both when no registry string matched.
    virtual void GroupTested(const DriveGroup& /*group*/, IdList /*list*/, const char* /*entry*/,
                             std::string_view /*text*/) {}
    virtual void DrivesCounted(int /*mix*/) {}
    // One lookup of a catalogue step (0 to 3); usbId is the list entry tried
    // on the 95 family and null on the NT family.
    virtual void LetterLookedUp(int /*step*/, const char* /*usbId*/,
                                const LetterLookup& /*lookup*/) {}
    // The step's letter; filtered when the group filter dropped a letter.
    virtual void StepDone(int /*step*/, std::uint8_t /*letter*/, bool /*filtered*/) {}
    // The chosen step, or -1, with the letter and variant returned.
    virtual void Verdict(int /*step*/, std::uint8_t /*letter*/, int /*variant*/,
                         VerdictReason /*reason*/) {}

  protected:
    // Observers are passed by reference, never deleted through this class;
    // a trivial destructor keeps the silent one free of exit-time teardown.
    ~DetectionObserver() = default;
};

// The observer that listens to nothing.
DetectionObserver& NoObserver();

}  // namespace detect
