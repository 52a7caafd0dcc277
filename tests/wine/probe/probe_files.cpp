#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "probe_checks.h"

namespace probe {
namespace {

constexpr unsigned kPayloadSize = 2500;

std::vector<std::uint8_t> Payload() {
    std::vector<std::uint8_t> bytes(kPayloadSize);
    for (unsigned i = 0; i < kPayloadSize; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

// Reads a file to its end in 1024-byte reads, as the 95 family measures the
// installer; -1 when it cannot be opened.
long long MeasureByReading(platform::FileSystem& files, const std::string& path) {
    int handle = files.OpenRead(path);
    if (handle < 0) {
        return -1;
    }
    long long total = 0;
    std::uint8_t buffer[1024];
    for (int n; (n = files.Read(handle, buffer, sizeof buffer)) > 0;) {
        total += n;
    }
    files.Close(handle);
    return total;
}

void CheckLowLevelIo(platform::FileSystem& files, platform::System& system,
                     const std::string& folder, Report& report) {
    std::string path = folder + "\\payload.bin";
    std::vector<std::uint8_t> payload = Payload();
    int out = files.CreateExclusive(path);
    int written = out >= 0 ? files.Write(out, payload.data(), kPayloadSize) : -1;
    report.Expect("_open creates a new file, _write writes it",
                  out >= 0 && written == static_cast<int>(kPayloadSize) && files.Close(out) == 0,
                  std::to_string(out) + " " + std::to_string(written));

    int again = files.CreateExclusive(path);
    std::uint32_t error = system.GetLastError();
    report.Expect("_open with _O_EXCL refuses an existing file, last error 80",
                  again == -1 && error == win::kErrorFileExists,
                  std::to_string(again) + " " + std::to_string(error));

    int in = files.OpenRead(path);
    long at = in >= 0 ? files.Seek(in, 2048) : -2;
    std::uint8_t buffer[1024] = {};
    int tail = in >= 0 ? files.Read(in, buffer, sizeof buffer) : -2;
    int end = in >= 0 ? files.Read(in, buffer + tail, sizeof buffer - tail) : -2;
    report.Expect("_lseek then _read: the last 452 bytes, then 0 at the end",
                  at == 2048 && tail == 452 && end == 0 &&
                      std::equal(buffer, buffer + 452, payload.begin() + 2048),
                  std::to_string(at) + " " + std::to_string(tail) + " " + std::to_string(end));
    report.Expect("_lseek to a negative offset fails", in >= 0 && files.Seek(in, -1) == -1);
    if (in >= 0) {
        files.Close(in);
    }

    std::uint64_t length = 0;
    report.Expect("CFile-style length and the 95 family's reading agree",
                  files.GetFileLength(path, length) && length == kPayloadSize &&
                      MeasureByReading(files, path) == kPayloadSize,
                  std::to_string(length));

    int missing = files.OpenRead(folder + "\\missing.bin");
    error = system.GetLastError();
    report.Expect("_open of a missing file: -1, last error 2",
                  missing == -1 && error == win::kErrorFileNotFound, std::to_string(error));
}

void CheckOwnExecutable(platform::FileSystem& files, platform::System& system, Report& report) {
    char module[win::kMaxPath] = {};
    system.GetModuleFileNameA(module, sizeof module);
    std::uint64_t length = 0;
    bool measured = files.GetFileLength(module, length);
    long long read = MeasureByReading(files, module);
    report.Expect(
        "the running program measures itself both ways",
        measured && read > 0 && length == static_cast<std::uint64_t>(read),
        std::to_string(measured) + " " + std::to_string(length) + " " + std::to_string(read));
}

void CheckAttributes(platform::FileSystem& files, platform::System& system,
                     const std::string& folder, Report& report) {
    std::string path = folder + "\\payload.bin";
    std::uint32_t before = files.GetFileAttributesA(path);
    report.Expect(
        "GetFileAttributesA of a file",
        before != win::kInvalidFileAttributes && (before & win::kFileAttributeDirectory) == 0,
        std::to_string(before));
    bool set = files.SetFileAttributesA(
        path, before | win::kFileAttributeReadonly | win::kFileAttributeHidden);
    std::uint32_t after = files.GetFileAttributesA(path);
    report.Note("attributes before, after setting read-only and hidden",
                std::to_string(before) + ", " + std::to_string(after));
    report.Expect("SetFileAttributesA makes the file read-only",
                  set && (after & win::kFileAttributeReadonly) != 0, std::to_string(after));
    report.Expect("SetFileAttributesA makes the file hidden",
                  (after & win::kFileAttributeHidden) != 0, std::to_string(after));

    bool deleted = files.DeleteFileA(path);
    std::uint32_t error = system.GetLastError();
    report.Note("FormatMessageA(" + std::to_string(error) + ")",
                Escaped(system.FormatMessageA(error)));
    report.Expect("DeleteFileA refuses a read-only file, last error 5",
                  !deleted && error == win::kErrorAccessDenied, std::to_string(error));
    files.SetFileAttributesA(path, win::kFileAttributeNormal);
    report.Expect("DeleteFileA of a writable file", files.DeleteFileA(path));
    report.Expect("GetFileAttributesA of a missing file: -1",
                  files.GetFileAttributesA(path) == win::kInvalidFileAttributes);
}

void CheckPathFunctions(platform::FileSystem& files, const std::string& folder, Report& report) {
    std::string rest;
    report.Expect("PathSkipRootA(E:\\A\\B) gives A\\B",
                  files.PathSkipRootA("E:\\A\\B", rest) && rest == "A\\B", rest);
    report.Expect("PathSkipRootA(E:\\) gives the empty rest",
                  files.PathSkipRootA("E:\\", rest) && rest.empty(), rest);
    report.Expect("PathSkipRootA(\\\\server\\share\\x) gives x",
                  files.PathSkipRootA("\\\\server\\share\\x", rest) && rest == "x", rest);
    report.Expect("PathSkipRootA refuses a relative path and a network path without its share",
                  !files.PathSkipRootA("A\\B", rest) && !files.PathSkipRootA("\\\\server", rest));
    report.Expect("PathIsUNCA tells a network path", files.PathIsUNCA("\\\\server\\share") &&
                                                         !files.PathIsUNCA("E:\\A") &&
                                                         !files.PathIsUNCA("\\server"));
    report.Expect("PathIsDirectoryA and PathFileExistsA of a folder",
                  files.PathIsDirectoryA(folder) && files.PathFileExistsA(folder));
    const std::string file = folder + "\\path.txt";
    files.Close(files.CreateExclusive(file));
    report.Expect("PathIsDirectoryA and PathFileExistsA of a file",
                  !files.PathIsDirectoryA(file) && files.PathFileExistsA(file));
    files.DeleteFileA(file);
    report.Expect("PathIsDirectoryA and PathFileExistsA of a missing path",
                  !files.PathIsDirectoryA(folder + "\\missing") &&
                      !files.PathFileExistsA(folder + "\\missing"));
}

struct FoundEntry {
    std::string path;
    bool folder;
    bool dots;
    bool operator<(const FoundEntry& other) const { return path < other.path; }
};

// Walks the search as the guarded deletion does: every entry is handled, the
// one for which FindNextFile said false included.
std::vector<FoundEntry> Walk(platform::FileFind& find, const std::string& pattern,
                             int& falseAnswers) {
    std::vector<FoundEntry> entries;
    falseAnswers = 0;
    if (!find.FindFile(pattern)) {
        return entries;
    }
    bool more = true;
    while (more) {
        more = find.FindNextFile();
        falseAnswers += more ? 0 : 1;
        entries.push_back(
            {find.GetFilePath(), find.MatchesMask(win::kFileAttributeDirectory), find.IsDots()});
    }
    find.Close();
    std::sort(entries.begin(), entries.end());
    return entries;
}

void CheckFolderSearch(platform::FileSystem& files, platform::System& system,
                       const std::string& folder, Report& report) {
    std::string sub = folder + "\\sub";
    files.CreateDirectoryA(sub);
    for (const char* name : {"\\a.txt", "\\b.txt"}) {
        int handle = files.CreateExclusive(folder + name);
        files.Close(handle);
    }
    std::unique_ptr<platform::FileFind> find = files.NewFileFind();
    int falseAnswers = 0;
    std::vector<FoundEntry> entries = Walk(*find, folder + "\\*.*", falseAnswers);
    std::string listing;
    for (const FoundEntry& entry : entries) {
        listing += entry.path + (entry.folder ? "<dir>" : "") + (entry.dots ? "<dots>" : "") + " ";
    }
    report.Note("search of " + folder + "\\*.*", listing);
    std::vector<FoundEntry> wanted = {{folder + "\\.", true, true},
                                      {folder + "\\..", true, true},
                                      {folder + "\\a.txt", false, false},
                                      {folder + "\\b.txt", false, false},
                                      {sub, true, false}};
    bool same = entries.size() == wanted.size() &&
                std::equal(entries.begin(), entries.end(), wanted.begin(),
                           [](const FoundEntry& a, const FoundEntry& b) {
                               return a.path == b.path && a.folder == b.folder && a.dots == b.dots;
                           });
    report.Expect("the folder search meets every entry, the last one with false",
                  same && falseAnswers == 1, listing);

    std::vector<FoundEntry> again = Walk(*find, folder + "\\\\*.*", falseAnswers);
    report.Expect(
        "a pattern with a doubled backslash gives the same paths",
        again.size() == entries.size() &&
            std::equal(again.begin(), again.end(), entries.begin(),
                       [](const FoundEntry& a, const FoundEntry& b) { return a.path == b.path; }));
    report.Expect("the search of a missing folder finds nothing",
                  !find->FindFile(folder + "\\missing\\*.*"));

    bool removed = files.RemoveDirectoryA(folder);
    std::uint32_t error = system.GetLastError();
    report.Expect("RemoveDirectoryA refuses a folder with entries, last error 145",
                  !removed && error == win::kErrorDirNotEmpty, std::to_string(error));
    bool emptied = files.DeleteFileA(folder + "\\a.txt") && files.DeleteFileA(folder + "\\b.txt") &&
                   files.RemoveDirectoryA(sub);
    report.Expect("DeleteFileA and RemoveDirectoryA empty the folder", emptied);
}

}  // namespace

void CheckFiles(platform::FileSystem& files, platform::System& system, const Expectations& expected,
                Report& report) {
    std::string folder = std::string(1, expected.driveLetter) + ":\\probe-files";
    bool created = files.CreateDirectoryA(folder);
    report.Expect("CreateDirectoryA on the mapped drive", created,
                  std::to_string(system.GetLastError()));
    bool again = files.CreateDirectoryA(folder);
    std::uint32_t error = system.GetLastError();
    report.Expect("CreateDirectoryA of an existing folder: last error 183",
                  !again && error == win::kErrorAlreadyExists, std::to_string(error));

    CheckLowLevelIo(files, system, folder, report);
    CheckSharing(files, system, folder, report);
    CheckOwnExecutable(files, system, report);
    CheckAttributes(files, system, folder, report);
    CheckPathFunctions(files, folder, report);
    CheckFolderSearch(files, system, folder, report);
    report.Expect("RemoveDirectoryA of the emptied folder", files.RemoveDirectoryA(folder));
}

}  // namespace probe
