// One table of machines: the family of Windows, the drives plugged in, the
// edits made to the registry (.reg text) and the current directory, with the
// letter, variant and drive mix that detection finds there. Then every call
// that detection makes fails in turn: the answer is then the drive or none,
// no key stays open, and only a failing current directory shows a message.
#include <gtest/gtest.h>

#include "detect/detect.h"
#include "detect/home_letter.h"
#include "platform/hosted/reg_file.h"
#include "testbed/plugged_drives.h"

namespace {

using namespace detect;
using namespace testbed;

enum Family { kNt = 1, k9x = 2, kAny = 3, kNoVersion = 5 };  // 5: NT, GetVersionEx fails
const std::string kSizeOnly = "<sized, not read>", kUnsizable = "<not even sized>";
constexpr DriveModel kSlim = kOrcaSlim, kGeneric = kKestrelGeneric, kThird = kCountOnly;
constexpr DriveModel kOther{"USB\\Vid_0781&Pid_5567", "USBSTOR\\Disk&Ven_Other", "SCSI\\OTHER"};
constexpr int kOrca = kVariantOrca, kKestrel = kVariantKestrel, kNone = kVariantNone;

const std::string kDisks = "HKLM\\System\\CurrentControlSet\\Services\\Disk\\Enum";
const std::string kUsb = "HKLM\\System\\CurrentControlSet\\Services\\USBSTOR\\Enum";
const std::string kDevices = "HKDD\\Config Manager\\Enum\\";
// The disk of the first drive plugged in, on each family, and its volume.
const std::string kSlimDisk = std::string(kSlimDiskNt) + "&Rev_1.00\\07105A3C0000&0";
const std::string kSlimInstance = "HKLM\\System\\CurrentControlSet\\Enum\\" + kSlimDisk;
const std::string kSlim9x = "HKLM\\Enum\\" + std::string(kSlimDisk9x) + "\\07105A3C0000";
const std::u16string kMount = u"\\??\\STORAGE#RemovableMedia#",
                     kSlimMount = kMount + u"7&2f5e8a1c&0";

std::string Set(const std::string& key, const std::string& name, const std::string& data) {
    return "[" + key + "]\n\"" + name + "\"=" + data + "\n";
}
std::string Text(const std::string& text) {  // quoted, backslashes escaped
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c == '\\' ? "\\\\" : std::string(1, c);
    }
    return quoted + "\"";
}
std::string Hex(const std::u16string& units, std::size_t width) {  // width bytes a unit
    std::string hex;
    for (std::size_t at = 0; at < units.size() * width; ++at) {
        char pair[5];
        std::snprintf(pair, sizeof pair, ",%02x", units[at / width] >> 8 * (at % width) & 0xFF);
        hex += pair;
    }
    return "hex:" + hex.substr(1);
}
std::string Raw(const std::string& text, std::size_t size) {  // no terminator
    return Hex(std::u16string(text.begin(), text.end()) + std::u16string(size - text.size(), '7'),
               1);
}
std::string Mount(char letter, const std::u16string& target) {
    return Set("HKLM\\System\\MountedDevices", "\\\\DosDevices\\\\" + std::string(1, letter) + ":",
               Hex(target, 2));
}
std::string Disk9x(const std::string& usb, const std::string& disk, const char* letter) {
    return Set(kDevices + "C0", "HardWareKey", Text(usb)) +
           Set(kDevices + "C1", "HardWareKey", Text(disk)) +
           Set("HKLM\\Enum\\" + disk, "CurrentDriveLetterAssignment", Text(letter));
}
struct Machine {
    Family family;
    std::vector<std::pair<DriveModel, char>> drives;
    char letter;
    int variant;
    int mix;
    std::vector<std::string> edits = {};
    std::string dir = "C:\\";
};

const std::string kLong = kSlimDiskNt + std::string(259 - std::string(kSlimDiskNt).size(), '7');

// clang-format off
const Machine kMachines[] = {
    {kAny, {{kOther, 'E'}}, 0, kNone, kMixNone},
    {kAny, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca},
    {kAny, {{kOrcaPrism, 'E'}, {kSlim, 'F'}}, 'F', kOrca, kMixOrca},
    {kAny, {{kGeneric, 'E'}, {kKestrelPrism, 'F'}}, 'E', kKestrel, kMixKestrel},
    {kAny, {{kGeneric, 'E'}, {kKestrelPrism, 'F'}}, 'F', kKestrel, kMixKestrel, {}, "F:\\Setup"},
    {kAny, {{kGeneric, 'E'}, {kKestrelPrism, 'F'}}, 'E', kKestrel, kMixKestrel, {}, kSizeOnly},
    {kAny, {{kSlim, 'E'}}, 0, kNone, kMixOrca, {}, kUnsizable},
    {kAny, {{kThird, 'E'}}, 0, kNone, kMixThird},
    {kNoVersion, {{kSlim, 'E'}}, 0, kNone, kMixOrca},
    // NT: a step's letter stands only when the count found the step's group.
    {kNt, {{kSlim, 'E'}, {kGeneric, 'F'}}, 0, kNone, kMixKestrelOrca},
    {kNt, {{kThird, 'E'}, {kGeneric, 'F'}}, 'F', kKestrel, kMixKestrelThird},
    {kNt, {{kSlim, 'E'}, {kGeneric, 'F'}, {kThird, 'G'}}, 0, kNone, kMixAll},
    {kNt, {{kKestrelPrism, 'E'}}, 'E', kKestrel, kMixKestrel},
    {kNt, {{kOrcaPrism, 'E'}}, 'E', kOrca, kMixOrca},
    // NT: lists of "Count" entries (its low byte, signed), each a hardware ID within 1,024 bytes.
    {kNt, {{kSlim, 'E'}, {kGeneric, 'F'}}, 'E', kOrca, kMixOrca, {Set(kUsb, "Count", "dword:1")}},
    {kNt, {{kSlim, 'E'}, {kGeneric, 'F'}}, 0, kNone, kMixKestrelOrca,
     {Set(kUsb, "Count", "dword:102")}},
    {kNt, {{kSlim, 'E'}, {kGeneric, 'F'}}, 'F', kKestrel, kMixKestrel, {Set(kUsb, "0", "-")}},
    {kNt, {{kSlim, 'E'}}, 0, kNone, kMixOrca, {Set(kDisks, "Count", "dword:80")}},
    {kNt, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca,
     {Set(kUsb, "0", Text("usb\\vid_3107&pid_9340\\1"))}},
    {kNt, {{kSlim, 'E'}}, 0, kNone, kMixNone, {Set(kUsb, "0", Text("USB\\VID_3107&PID_934\\1"))}},
    {kNt, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca, {Set(kUsb, "0", Raw(kSlim.usbId, 1024))}},
    {kNt, {{kSlim, 'E'}}, 0, kNone, kMixNone, {Set(kUsb, "0", Raw(kSlim.usbId, 1025))}},
    // NT: the disk's entry, its instance's ParentIdPrefix, a logical drive mounted with it.
    {kNt, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca, {Mount('D', kSlimMount)}},
    {kNt, {{kSlim, 'E'}, {kOther, 'B'}}, 'E', kOrca, kMixOrca, {Mount('B', kSlimMount)}},
    {kNt, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca, {Mount('E', kSlimMount.substr(0, 39))}},
    {kNt, {{kSlim, 'E'}}, 0, kNone, kMixOrca, {Mount('E', kSlimMount.substr(0, 38))}},
    {kNt, {{kSlim, 'E'}}, 0, kNone, kMixOrca, {Mount('E', kMount + u"7&2F5E8A1C&0")}},
    {kNt, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca,
     {Set(kSlimInstance, "ParentIdPrefix", "\"7&\x80\xE9&0\"") +
       Mount('E', kMount + u"7&\u20AC\u00E9&0")}},
    {kNt, {{kSlim, 0}, {kSlim, 'E'}}, 0, kNone, kMixOrca},
    {kNt, {{kSlim, 'E'}}, 0, kNone, kMixOrca,
     {Set(kDisks, "0",
       Text("USBSTOR\\DISK&VEN_NORVASK&PROD_ROVANE_SLIM&REV_1.00\\07105A3C0000&0"))}},
    {kNt, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca,
     {Set(kDisks, "0", Text(kLong + "7")) + Set(kDisks, "1", Text(kSlimDisk)) +
       Set(kDisks, "Count", "dword:2")}},
    {kNt, {{kSlim, 'E'}, {kOther, 'D'}}, 'D', kOrca, kMixOrca, {Set(kDisks, "0", Text(kLong)) +
     Set("HKLM\\System\\CurrentControlSet\\Enum\\" + kLong, "ParentIdPrefix", "\"7&x&0\"") +
       Mount('D', kMount + u"7&x&0")}},
    {kNt, {}, 'E', kOrca, kMixOrca, {"wine-system-orca-slim-nt.reg"}},
    // 95: a walk of the device tree for the USB device, then one for the first such disk.
    {k9x, {{kGeneric, 'E'}, {kOrcaPrism, 'F'}}, 'F', kOrca, kMixKestrelOrca},
    {k9x, {{kSlim, 'F'}, {kGeneric, 'e'}}, 'e', kKestrel, kMixKestrelOrca, {}, "e:\\"},
    {k9x, {{kSlim, 'E'}}, 'E', kOrca, kMixOrca,
     {Set(kDevices + "C029A0005", "HardWareKey", Raw("", 520))}},
    {k9x, {{kSlim, 'E'}}, 0, kNone, kMixOrca,
     {Set(kDevices + "C029A0005", "HardWareKey", Raw("", 521))}},
    {k9x, {{kSlim, 'E'}}, 0, kNone, kMixOrca, {"[" + kDevices + "C029A0005]"}},
    {k9x, {{kGeneric, 'E'}, {kSlim, 'F'}}, 'E', kKestrel, kMixKestrel,
     {"[" + kDevices + "C029A0015]"}},
    {k9x, {}, 'E', kOrca, kMixOrca,
     {Disk9x("usb\\vid_3107&pid_9340\\1", kSlimDisk9x + std::string("\\1"), "E")}},
    {k9x, {}, 0, kNone, kMixOrca, {Disk9x(kSlim.usbId, "scsi\\norvask_rovane_slim_____0\\1", "E")}},
    {k9x, {}, 'G', kOrca, kMixOrca,
     {Disk9x(kOrcaPrism.usbId, "SCSI\\NORVASK_ROVANE_PRISM___Y\\1", "G")}},
    {k9x, {{kGeneric, 'E'}}, 'E', kKestrel, kMixKestrel,
     {Disk9x("USB\\X", kSlimDisk9x + std::string("\\1"), "F")}},
    {k9x, {{kSlim, 0}, {kSlim, 'F'}}, 0, kNone, kMixOrca},
    {k9x, {{kSlim, 'E'}}, 0, kNone, kMixOrca,
     {Set(kSlim9x, "CurrentDriveLetterAssignment", "hex:")}},
    {k9x, {}, 'E', kOrca, kMixOrca,
     {"wine-dyn-data-orca-slim-9x.reg", "wine-enum-orca-slim-9x.reg"}},
};
// clang-format on

void Check(const Machine& row, bool nt) {
    TestMachine machine;
    machine.facts().platformId = nt ? win::kVerPlatformWin32Nt : win::kVerPlatformWin32Windows;
    for (const auto& [model, letter] : row.drives) {
        PlugIn(machine, model, letter);
    }
    machine.AddDrive(row.letter == 0 ? 'C' : row.letter);  // the fixtures' drive
    std::string error;
    for (const std::string& edit : row.edits) {  // a fixture file, or lines of one
        hosted::MemoryRegistry& reg = machine.registryData;
        ASSERT_TRUE(edit.ends_with(".reg")
                        ? hosted::LoadRegFile(DETECT_FIXTURES "/" + edit, reg, error)
                        : hosted::LoadRegBytes("edit", "REGEDIT4\n" + edit, reg, error))
            << error;
    }
    if (row.family == kNoVersion) {
        machine.facts().platformId.reset();
    }
    using Mode = hosted::CurrentDirectoryMode;
    machine.facts().currentDirectory = row.dir[0] == '<' ? "C:\\" : row.dir;
    machine.facts().currentDirectoryMode = row.dir == kSizeOnly    ? Mode::SizeOnly
                                           : row.dir == kUnsizable ? Mode::Failing
                                                                   : Mode::Readable;
    EXPECT_EQ(CountSupportedDrives(machine.os, nt), row.mix);
    const int countOpens = machine.faults.Count(Call::RegOpenKey);
    int variant = 0;
    EXPECT_EQ(DetectSupportedDrive(machine.os, variant), static_cast<std::uint8_t>(row.letter));
    EXPECT_EQ(variant, row.variant);
    // Past an unknown home nothing is looked up; past no drive, no letter.
    const int opens = machine.faults.Count(Call::RegOpenKey) - countOpens;
    EXPECT_EQ(opens, row.dir == kUnsizable ? 0 : row.mix == kMixNone ? countOpens : opens);
    const std::vector<std::string> none, denied{"System Error: Access is denied.\r\n!"};
    EXPECT_EQ(machine.ui.Texts(), row.dir == kUnsizable ? denied : none);
    EXPECT_EQ(machine.registryData.OpenKeyCount(), 0);
}

TEST(Detection, EachMachineGivesItsLetterVariantAndMix) {
    for (std::size_t at = 0; at < std::size(kMachines); ++at) {
        for (const bool nt : {true, false}) {
            SCOPED_TRACE("machine " + std::to_string(at) + (nt ? " on NT" : " on 95"));
            if ((kMachines[at].family & (nt ? kNt : k9x)) != 0) {
                Check(kMachines[at], nt);
            }
        }
    }
}

TEST(Detection, HomeLetterWithoutMemoryForItShowsTheAllocationError) {
    TestMachine machine;
    machine.system.SetLastError(win::kErrorNotEnoughMemory);
    EXPECT_EQ(ReadHomeLetter(machine.os, [](std::size_t) { return std::unique_ptr<char[]>(); }),
              std::nullopt);
    EXPECT_EQ(
        machine.ui.Texts(),
        std::vector<std::string>{"Can't allocate memory to perform operation\r\nError: "
                                 "Not enough storage is available to process this command.\r\n!"});
}

}  // namespace
