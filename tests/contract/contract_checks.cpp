// The platform contract's checks: the system, the registry, files and folder searches.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <memory>
#include <numeric>
#include <tuple>
#include <vector>

#include "contract.h"
#include "platform/win_constants.h"

namespace contract {
namespace {

// A value read asking for its size, then with one byte too little room and
// with just enough: "code type, code size, code size: data".
std::string Reading(platform::Registry& registry, win::HKEY key, const char* name) {
    std::uint32_t type = 0, needed = 0;
    const std::uint32_t asked = registry.RegQueryValueExA(key, name, &type, nullptr, &needed);
    std::string seen = std::to_string(asked) + " " + std::to_string(type);
    std::string data(needed, '#');
    for (std::uint32_t room = needed - 1; asked == 0 && needed > 0 && room <= needed; ++room) {
        std::uint32_t size = room;
        const std::uint32_t code = registry.RegQueryValueExA(
            key, name, nullptr, reinterpret_cast<std::uint8_t*>(data.data()), &size);
        seen += ", " + std::to_string(code) + " " + std::to_string(size);
    }
    return asked == 0 ? seen + ": " + data : seen;
}

// The subkeys in the order of enumeration, each also enumerated with no room
// for its terminator; then the code that ended it.
std::string Subkeys(platform::Registry& registry, win::HKEY key) {
    std::string names;
    char name[win::kMaxPath];
    for (std::uint32_t index = 0, size = sizeof name;; ++index, size = sizeof name) {
        if (const std::uint32_t status = registry.RegEnumKeyExA(key, index, name, &size)) {
            return names + std::to_string(status);
        }
        names += name + std::string(size == std::strlen(name) ? "; " : "?; ");
        names += registry.RegEnumKeyExA(key, index, name, &size) == win::kErrorMoreData ? "" : "?";
    }
}

// The file read to its end in 1024-byte reads, as the 95 family measures the
// installer; "unopened" when it cannot be opened.
std::string ReadAll(platform::FileSystem& files, const std::string& path) {
    const int handle = files.OpenRead(path);
    std::string content = handle < 0 ? "unopened" : "";
    char buffer[1024];
    for (int n; handle >= 0 && (n = files.Read(handle, buffer, sizeof buffer)) > 0;) {
        content.append(buffer, static_cast<std::size_t>(n));
    }
    files.Close(handle);
    return content;
}

std::string Described(const platform::FileFind& find) {
    return find.GetFilePath() + (find.IsDots() ? " dots" : "") +
           (find.MatchesMask(win::kFileAttributeDirectory) ? " dir" : "") +
           (find.MatchesMask(win::kFileAttributeHidden) ? " hidden" : "") + "; ";
}

// Walks a search as the guarded deletion does: every entry is handled, the
// one for which FindNextFile said false included, and it stays current.
std::string Walk(Checks& checks, platform::FileFind& find, const std::string& pattern,
                 bool sorted) {
    std::vector<std::string> seen;
    for (bool more = find.FindFile(pattern); more;) {
        more = find.FindNextFile();
        seen.push_back(Described(find));
    }
    CHECK_TRUE(!find.FindNextFile() && !seen.empty() && Described(find) == seen.back());
    const auto upper = [](std::string s) {
        std::ranges::transform(s, s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        return s;
    };
    if (!sorted) {
        std::ranges::sort(seen, {}, upper);
    }
    return std::accumulate(seen.begin(), seen.end(), std::string());
}

}  // namespace

void CheckSystem(Checks& checks, Seam& seam, const Fixture& fixture) {
    platform::System& system = seam.system;
    std::uint32_t platformId = 99;
    CHECK_TRUE(system.GetVersionExA(platformId) && platformId == fixture.platformId);
    // Measured, then with one byte too little room, then copied.
    const std::uint32_t needed = fixture.currentDirectory.size() + 1;
    char text[win::kMaxPath] = {};
    CHECK_EQ(system.GetCurrentDirectoryA(0, nullptr), needed);
    CHECK_EQ(system.GetCurrentDirectoryA(needed - 1, text), needed);
    CHECK_EQ(system.GetCurrentDirectoryA(needed, text), needed - 1);
    CHECK_EQ(std::string(text), fixture.currentDirectory);
    char module[win::kMaxPath] = {};
    const std::uint32_t length = system.GetModuleFileNameA(module, sizeof module);
    CHECK_TRUE(length == std::string(module).size() && system.GetModuleFileNameA(text, 9) == 9 &&
               std::string(text, 8) == std::string(module, 8));
    const std::uint32_t drives = system.GetLogicalDrives();
    CHECK_TRUE((drives >> 2 & 1) != 0 && (drives >> (fixture.drive - 'A') & 1) != 0);
    // The ANSI code page is Windows-1252; what it cannot hold becomes '?'.
    const std::uint16_t wide[] = {'R', 'o', 'v', 'a', 'n', 'e', 0xE9, 0x20AC, 0x4E2D, 0};
    CHECK_EQ(system.WideCharToMultiByte(wide, 9, text, sizeof text), 9);
    CHECK_EQ(std::string(text, 9), "Rovane\xE9\x80?");
    CHECK_EQ(system.WideCharToMultiByte(wide, -1, nullptr, 0), 10);
    CHECK_EQ(system.WideCharToMultiByte(wide, -1, text, sizeof text), 10);
    CHECK_EQ(std::string(text), "Rovane\xE9\x80?");
    CHECK_ERROR(system.WideCharToMultiByte(wide, 9, text, 4) > 0, win::kErrorInsufficientBuffer);
    system.SetLastError(win::kErrorInvalidParameter);
    CHECK_EQ(system.GetLastError(), win::kErrorInvalidParameter);
    const std::string message = system.FormatMessageA(win::kErrorFileNotFound);
    CHECK_TRUE(message.size() > 2 && message.ends_with("\r\n"));
    CHECK_EQ(system.FormatMessageA(0x2000FFFFu), "");
}

void CheckRegistry(Checks& checks, Seam& seam, const Fixture& fixture) {
    const std::string drive(1, fixture.drive), nul(1, '\0');
    std::string mount;  // UTF-16LE
    for (const char c : std::string("\\??\\STORAGE#RemovableMedia#8&3f2e1d0c&0&RM#"
                                    "{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}")) {
        mount += c + nul;
    }
    const auto read = [](std::uint32_t type, const std::string& data) {
        const std::string size = std::to_string(data.size());
        return "0 " + std::to_string(type) + ", 234 " + size + ", 0 " + size + ": " + data;
    };
    const win::HKEY hklm = win::kHkeyLocalMachine;
    const std::string scsi = "Enum\\SCSI\\NORVASK_ROVANE_SLIM_____0\\0001";
    // A value's reading, or with no value named the key's subkeys.
    const std::tuple<win::HKEY, std::string, std::string, std::string> keys[] = {
        {hklm, "system\\currentcontrolset\\services\\DISK\\enum", "Count",
         read(4, std::string("\1\0\0\0", 4))},
        {hklm, "System\\CurrentControlSet\\Services\\Disk\\Enum", "0",
         read(1, "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim&Rev_1.00\\7&1a2b3c4d&0" + nul)},
        {hklm, "System\\MountedDevices", "\\DosDevices\\" + drive + ":", read(3, mount)},
        {win::kHkeyDynData, "Config Manager\\Enum\\C29A3B40", "HardWareKey",
         read(1, "USB\\VID_3107&PID_9340\\0001" + nul)},
        {hklm, scsi, "CurrentDriveLetterAssignment", read(1, drive + nul)},
        {hklm, scsi, "Missing", "2 0"},
        {win::kHkeyDynData, "Config Manager\\Enum", "", "C29A3B40; C29A3B44; 259"},
        {hklm, "System\\CurrentControlSet\\Enum\\USBSTOR", "",
         "Disk&Ven_Norvask&Prod_Rovane_Slim&Rev_1.00; 259"},
        {hklm, "Software\\Contract\\Order", "", "alpha; Beta; GAMMA; 259"}};
    win::HKEY key = 0;
    for (const auto& [root, path, name, seen] : keys) {
        const std::uint32_t access = name.empty() ? win::kKeyRead : win::kKeyQueryValue;
        CHECK_EQ(seam.registry.RegOpenKeyExA(root, path.c_str(), access, &key), 0);
        CHECK_EQ(
            name.empty() ? Subkeys(seam.registry, key) : Reading(seam.registry, key, name.c_str()),
            seen);
        CHECK_EQ(seam.registry.RegCloseKey(key), 0);
    }
    CHECK_EQ(seam.registry.RegOpenKeyExA(hklm, "System\\NoSuchKey", win::kKeyRead, &key), 2);
}

void CheckFiles(Checks& checks, Seam& seam, const Fixture& fixture) {
    platform::FileSystem& files = seam.files;
    const std::string folder = fixture.Folder(), path = folder + "\\Payload.bin";
    CHECK_TRUE(files.CreateDirectoryA(folder));
    CHECK_ERROR(files.CreateDirectoryA(folder + "\\..\\CONTRACT"), win::kErrorAlreadyExists);
    CHECK_ERROR(files.CreateDirectoryA(folder + "\\a\\b"), win::kErrorPathNotFound);
    std::string payload;
    std::generate_n(std::back_inserter(payload), 2500,
                    [i = 0]() mutable { return char(i++ * 7 + 3); });
    const int out = files.CreateExclusive(path);
    CHECK_TRUE(files.Write(out, payload.data(), 2500) == 2500 && files.Close(out) == 0);
    CHECK_ERROR(files.CreateExclusive(folder + "\\PAYLOAD.BIN") >= 0, win::kErrorFileExists);
    CHECK_ERROR(files.CreateExclusive(folder + "\\missing\\x.bin") >= 0, win::kErrorPathNotFound);
    for (const char* name : {"\\a*b", "\\q?", "\\p|q", "\\<in", "\\out>", "\\\"q\""}) {
        CHECK_ERROR(files.CreateExclusive(folder + name) >= 0, win::kErrorInvalidName);
    }
    const int in = files.OpenRead(folder.substr(0, 3) + "..\\..\\contract\\payload.BIN");
    char tail[1024] = {};
    CHECK_EQ(files.Seek(in, 2048), 2048);
    CHECK_EQ(files.Read(in, tail, sizeof tail), 452);
    CHECK_EQ(std::string(tail, 452), payload.substr(2048));
    CHECK_EQ(files.Read(in, tail, sizeof tail), 0);
    CHECK_ERROR(files.Seek(in, -1) >= 0, win::kErrorNegativeSeek);
    CHECK_EQ(files.Close(in), 0);
    // A file number closed, or never opened, is refused by each call.
    CHECK_ERROR(files.Read(in, tail, 1) >= 0, win::kErrorInvalidHandle);
    CHECK_TRUE(files.Write(in, tail, 1) == -1 && files.Seek(in, 0) == -1 && files.Close(in) == -1 &&
               files.Read(-1, tail, 1) == -1);
    std::uint64_t length = 7;
    CHECK_TRUE(files.GetFileLength(path, length) && ReadAll(files, path) == payload);
    for (const auto& [missing, code] :
         {std::pair{folder + "\\missing.bin", 2}, {folder + "\\missing\\x", 3}, {folder, 5}}) {
        CHECK_ERROR(files.OpenRead(missing) >= 0, code);
        CHECK_ERROR(files.GetFileLength(missing, length), code);
    }
    CHECK_EQ(length, 2500);
    char module[win::kMaxPath] = {};
    seam.system.GetModuleFileNameA(module, sizeof module);
    CHECK_TRUE(files.GetFileLength(module, length) && ReadAll(files, module).size() == length);
    const std::uint32_t kept = win::kFileAttributeReadonly | win::kFileAttributeHidden;
    CHECK_EQ(files.GetFileAttributesA(path) & (kept | win::kFileAttributeDirectory), 0);
    CHECK_TRUE(files.SetFileAttributesA(path, kept) &&
               (files.GetFileAttributesA(path) & kept) == kept);
    CHECK_ERROR(files.DeleteFileA(path), win::kErrorAccessDenied);
    CHECK_TRUE(files.SetFileAttributesA(path, win::kFileAttributeNormal));
    CHECK_EQ(files.GetFileAttributesA(path) & kept, 0);
    CHECK_TRUE(files.PathFileExistsA(path) && !files.PathIsDirectoryA(path));
    CHECK_TRUE(files.DeleteFileA(folder + "\\PAYLOAD.bin") && !files.PathFileExistsA(path));
    CHECK_EQ(files.GetFileAttributesA(path), win::kInvalidFileAttributes);
    CHECK_ERROR(files.DeleteFileA(path), win::kErrorFileNotFound);
    CHECK_ERROR(files.DeleteFileA(folder), win::kErrorAccessDenied);
    CHECK_TRUE(files.PathIsDirectoryA(folder) && files.RemoveDirectoryA(folder));
    CHECK_TRUE(!files.PathIsDirectoryA(folder) && !files.PathFileExistsA(folder));
    std::string rests;  // of each path after its root, "-" for none
    for (const char* rooted : {"E:\\A\\B", "E:\\", "\\\\server\\share\\x", "", "E:", "E:A", "E:/A",
                               "\\A", "\\\\server", "\\\\server\\share"}) {
        std::string rest;
        rests += (files.PathSkipRootA(rooted, rest) ? rest : "-" + rest) + " ";
    }
    CHECK_EQ(rests, "A\\B  x - - - - - - - ");
    CHECK_TRUE(files.PathIsUNCA("\\\\server\\share") && files.PathIsUNCA("\\\\") &&
               !files.PathIsUNCA("\\server") && !files.PathIsUNCA("//server/share"));
}

void CheckFolderSearch(Checks& checks, Seam& seam, const Fixture& fixture) {
    platform::FileSystem& files = seam.files;
    const std::string f = fixture.Folder();
    CHECK_TRUE(files.CreateDirectoryA(f) && files.CreateDirectoryA(f + "\\Sub"));
    for (const char* name : {"\\b.txt", "\\C.TXT", "\\A.txt"}) {
        CHECK_EQ(files.Close(files.CreateExclusive(f + name)), 0);
    }
    CHECK_TRUE(files.SetFileAttributesA(f + "\\b.txt", win::kFileAttributeHidden));
    const std::unique_ptr<platform::FileFind> find = files.NewFileFind();
    CHECK_EQ(Walk(checks, *find, f + "\\*.*", fixture.searchIsSorted),
             f + "\\. dots dir; " + f + "\\.. dots dir; " + f + "\\A.txt; " + f +
                 "\\b.txt hidden; " + f + "\\C.TXT; " + f + "\\Sub dir; ");
    CHECK_EQ(Walk(checks, *find, f + "\\sub\\*", true),
             f + "\\sub\\. dots dir; " + f + "\\sub\\.. dots dir; ");
    find->Close();
    CHECK_EQ(find->GetFilePath(), "");
    CHECK_ERROR(find->FindFile(f + "\\missing\\*.*"), win::kErrorPathNotFound);
    CHECK_ERROR(files.RemoveDirectoryA(f), win::kErrorDirNotEmpty);
    CHECK_ERROR(files.RemoveDirectoryA(f + "\\a.TXT"), win::kErrorDirectory);
    CHECK_ERROR(files.RemoveDirectoryA(f + "\\gone"), win::kErrorFileNotFound);
    CHECK_TRUE(files.DeleteFileA(f + "\\A.txt") && files.DeleteFileA(f + "\\b.txt") &&
               files.DeleteFileA(f + "\\C.TXT") && files.RemoveDirectoryA(f + "\\SUB") &&
               files.RemoveDirectoryA(f));
}

}  // namespace contract
