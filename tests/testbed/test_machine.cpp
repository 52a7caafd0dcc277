#include "testbed/test_machine.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testbed {

namespace fs = std::filesystem;

namespace {

// Read-only host folders must become writable again before they can go.
void RemoveTree(const fs::path& top) {
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
std::string SortKey(std::string path) {
    for (char& c : path) {
        c = c == '\\' ? '\1' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return path;
}

}  // namespace

TestMachine::TestMachine() {
    top_ = (fs::temp_directory_path() / "stashwell-machine-XXXXXX").string();
    if (mkdtemp(top_.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder like " + top_);
    }
    AddDrive('C');
    facts().platformId = win::kVerPlatformWin32Nt;
    facts().currentDirectory = "C:\\";
    facts().modulePath = kInstallerPath;
}

TestMachine::~TestMachine() {
    RemoveTree(top_);
}

void TestMachine::AddDrive(char letter) {
    const fs::path folder =
        fs::path(top_) / std::string(1, static_cast<char>(std::toupper(letter)));
    RemoveTree(folder);
    fs::create_directory(folder);
    drives_.Map(letter, folder.string());
}

void TestMachine::AddFolder(const std::string& path, std::uint32_t attributes) {
    KeepLastError keep{lastError_};
    AddParents(path);
    if (!hostFiles_.CreateDirectoryA(path) && !hostFiles_.PathIsDirectoryA(path)) {
        throw std::invalid_argument("cannot set up the folder " + path);
    }
    if (attributes != win::kFileAttributeDirectory) {
        hostFiles_.SetFileAttributesA(path, attributes);
    }
}

void TestMachine::AddFile(const std::string& path, const std::string& contents,
                          std::uint32_t attributes) {
    KeepLastError keep{lastError_};
    AddParents(path);
    if (hostFiles_.SetFileAttributesA(path, win::kFileAttributeNormal)) {
        hostFiles_.DeleteFileA(path);
    }
    const int handle = hostFiles_.CreateExclusive(path);
    const auto size = static_cast<unsigned>(contents.size());
    const bool written =
        handle >= 0 && hostFiles_.Write(handle, contents.data(), size) == static_cast<int>(size);
    if (handle < 0 || hostFiles_.Close(handle) != 0 || !written ||
        !hostFiles_.SetFileAttributesA(path, attributes)) {
        throw std::invalid_argument("cannot set up the file " + path);
    }
}

void TestMachine::AddParents(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
        hostFiles_.CreateDirectoryA(path.substr(0, at));
    }
}

void TestMachine::AddFolderLink(const std::string& path, const std::string& target) {
    KeepLastError keep{lastError_};
    AddParents(path);
    hosted::HostPath link;
    hosted::HostPath leadsTo;
    if (drives_.Resolve(path, hosted::LastLink::Keep, link) != 0 ||
        drives_.Resolve(target, hosted::LastLink::Keep, leadsTo) != 0) {
        throw std::invalid_argument("cannot set up the link " + path);
    }
    fs::create_directory_symlink(leadsTo.path, link.path);
    drives_.Added(link.path);
}

std::string TestMachine::Contents(const std::string& path) {
    KeepLastError keep{lastError_};
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

std::uint32_t TestMachine::Attributes(const std::string& path) {
    KeepLastError keep{lastError_};
    return hostFiles_.GetFileAttributesA(path);
}

std::vector<std::string> TestMachine::Tree(char letter) const {
    const std::string drive(1, static_cast<char>(std::toupper(letter)));
    const fs::path root = fs::path(top_) / drive;
    std::vector<std::string> tree;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        tree.push_back(drive + ":\\" + entry.path().lexically_relative(root).string() +
                       (entry.is_directory() ? "\\" : ""));
        std::replace(tree.back().begin(), tree.back().end(), '/', '\\');
    }
    std::ranges::sort(tree, {}, SortKey);
    return tree;
}

}  // namespace testbed
