#include "contract.h"
#include "platform/win_constants.h"

namespace contract {
namespace {

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

}  // namespace

void CheckFiles(Checks& checks, Seam& seam, const Fixture& fixture) {
    platform::FileSystem& files = seam.files;
    const std::string folder = fixture.Folder();
    const std::string path = folder + "\\Payload.bin";
    CHECK_TRUE(files.CreateDirectoryA(folder));
    CHECK_ERROR(files.CreateDirectoryA(folder + "\\..\\CONTRACT"), win::kErrorAlreadyExists);
    CHECK_ERROR(files.CreateDirectoryA(folder + "\\a\\b"), win::kErrorPathNotFound);
    std::string payload;
    for (int i = 0; i < 2500; ++i) {
        payload += static_cast<char>(i * 7 + 3);
    }
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

}  // namespace contract
