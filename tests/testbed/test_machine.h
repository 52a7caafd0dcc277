// A whole simulated Windows machine for the tests: the hosted machine, its
// drives mapped to a fresh folder under /tmp (removed when the machine goes),
// its registry in memory, message boxes answered from a script, and every
// call of the seam going through the faulty wrappers of one FaultPlan.
//
// It starts as an NT machine with drive C:, running kInstallerPath from the
// current directory "C:\". Entries are set up and inspected past the
// wrappers, so that neither counts as a call of the logic.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/hosted/drive_map.h"
#include "platform/hosted/hosted_file_system.h"
#include "platform/hosted/hosted_system.h"
#include "platform/hosted/last_error.h"
#include "platform/hosted/memory_registry.h"
#include "platform/platform.h"
#include "testbed/faulty_files.h"
#include "testbed/scripted_ui.h"

namespace testbed {

inline constexpr char kInstallerPath[] = "C:\\Setup\\StashwellSetup.exe";

namespace machine {

namespace fs = std::filesystem;

// Read-only host folders must become writable again before they can go.
inline void RemoveTree(const fs::path& top) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(top, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
    fs::remove_all(top, error);
}

// The setting up and inspecting of entries leaves the last error as the
// logic left it.
struct KeepLastError {
    hosted::LastError& slot;
    std::uint32_t code = slot.Get();
    ~KeepLastError() { slot.Set(code); }
};

// The path in upper case with a separator that sorts before any name, so that
// paths sort in name order folder by folder.
inline std::string SortKey(std::string path) {
    for (char& c : path) {
        c = c == '\\' ? '\1' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return path;
}

}  // namespace machine

class TestMachine {
  public:
    TestMachine() {
        if (mkdtemp(top_.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder like " + top_);
        }
        AddDrive('C');
        facts().platformId = win::kVerPlatformWin32Nt;
        facts().currentDirectory = "C:\\";
        facts().modulePath = kInstallerPath;
    }
    ~TestMachine() { machine::RemoveTree(top_); }
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    hosted::MachineFacts& facts() { return hostSystem_.facts(); }

    // A new empty drive at the letter (either case), replacing any there.
    void AddDrive(char letter) {
        const auto folder = machine::fs::path(top_) / std::string(1, std::toupper(letter));
        machine::RemoveTree(folder);
        machine::fs::create_directory(folder);
        drives_.Map(letter, folder.string());
    }
    // The drive disappears, as a pulled drive does: its paths fail with
    // ERROR_PATH_NOT_FOUND and its bit leaves the logical drives.
    void PullDrive(char letter) { drives_.Unmap(letter); }
    // Parent folders are made as needed; a file that exists is replaced.
    void AddFolder(const std::string& path, std::uint32_t attributes = 0x10) {
        machine::KeepLastError keep{lastError_};
        AddParents(path);
        if (!hostFiles_.CreateDirectoryA(path) && !hostFiles_.PathIsDirectoryA(path)) {
            throw std::invalid_argument("cannot set up the folder " + path);
        }
        if (attributes != win::kFileAttributeDirectory) {
            hostFiles_.SetFileAttributesA(path, attributes);
        }
    }
    void AddFile(const std::string& path, const std::string& contents,
                 std::uint32_t attributes = 0x80) {
        machine::KeepLastError keep{lastError_};
        AddParents(path);
        if (hostFiles_.SetFileAttributesA(path, win::kFileAttributeNormal)) {
            hostFiles_.DeleteFileA(path);
        }
        const int handle = hostFiles_.CreateExclusive(path);
        const auto size = static_cast<int>(contents.size());
        const bool written = handle >= 0 && hostFiles_.Write(handle, contents.data(), size) == size;
        if (handle < 0 || hostFiles_.Close(handle) != 0 || !written ||
            !hostFiles_.SetFileAttributesA(path, attributes)) {
            throw std::invalid_argument("cannot set up the file " + path);
        }
    }
    // A folder link at path that leads to the folder target of the same drive.
    void AddFolderLink(const std::string& path, const std::string& target) {
        machine::KeepLastError keep{lastError_};
        AddParents(path);
        hosted::HostPath link, leadsTo;
        if (drives_.Resolve(path, hosted::LastLink::Keep, link) != 0 ||
            drives_.Resolve(target, hosted::LastLink::Keep, leadsTo) != 0) {
            throw std::invalid_argument("cannot set up the link " + path);
        }
        machine::fs::create_directory_symlink(leadsTo.path, link.path);
        drives_.Added(link.path);
    }

    bool Exists(const std::string& path) { return Attributes(path) != win::kInvalidFileAttributes; }
    // Empty when missing.
    std::string Contents(const std::string& path) {
        machine::KeepLastError keep{lastError_};
        std::string contents;
        const int handle = hostFiles_.OpenRead(path);
        char buffer[4096];
        for (int n; handle >= 0 && (n = hostFiles_.Read(handle, buffer, sizeof buffer)) > 0;) {
            contents.append(buffer, static_cast<std::size_t>(n));
        }
        if (handle >= 0) {
            hostFiles_.Close(handle);
        }
        return contents;
    }
    std::uint32_t Attributes(const std::string& path) {
        machine::KeepLastError keep{lastError_};
        return hostFiles_.GetFileAttributesA(path);
    }
    // Every entry below a drive, folders ending in a backslash, in name
    // order: "E:\HelpFiles\", "E:\HelpFiles\Stash.hlp", ... A folder link is
    // listed as a folder, without what it leads to.
    std::vector<std::string> Tree(char letter) const {
        const std::string drive(1, static_cast<char>(std::toupper(letter)));
        const auto root = machine::fs::path(top_) / drive;
        std::vector<std::string> tree;
        for (const auto& entry : machine::fs::recursive_directory_iterator(root)) {
            tree.push_back(drive + ":\\" + entry.path().lexically_relative(root).string() +
                           (entry.is_directory() ? "\\" : ""));
            std::replace(tree.back().begin(), tree.back().end(), '/', '\\');
        }
        std::ranges::sort(tree, {}, machine::SortKey);
        return tree;
    }

    FaultPlan faults;
    ScriptedUi ui;
    hosted::MemoryRegistry registryData;

  private:
    // The folders that hold path.
    void AddParents(const std::string& path) {
        for (std::size_t at = path.find('\\', 3); at != std::string::npos;
             at = path.find('\\', at + 1)) {
            hostFiles_.CreateDirectoryA(path.substr(0, at));
        }
    }

    std::string top_ = (machine::fs::temp_directory_path() / "stashwell-machine-XXXXXX").string();
    hosted::DriveMap drives_;
    hosted::LastError lastError_;
    hosted::HostedFileSystem hostFiles_{drives_, lastError_};
    hosted::HostedSystem hostSystem_{drives_, lastError_};

  public:
    FaultySystem system{hostSystem_, faults};
    FaultyFiles files{hostFiles_, system, faults};
    FaultyRegistry registry{registryData, faults};
    platform::Platform os{files, registry, system, ui};
};

}  // namespace testbed
