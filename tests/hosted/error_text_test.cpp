#include "platform/hosted/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "hosted_machine.h"
#include "platform/win_constants.h"

namespace hosted_test {
namespace {

using hosted::Creating;
using hosted::WinErrorFromErrno;

TEST(ErrorText, MapsErrnoToWindowsCodes) {
    const std::pair<int, std::uint32_t> mapped[] = {
        {EACCES, win::kErrorAccessDenied},     {EPERM, win::kErrorAccessDenied},
        {EROFS, win::kErrorWriteProtect},      {ENOSPC, win::kErrorDiskFull},
        {ENOTEMPTY, win::kErrorDirNotEmpty},   {ENAMETOOLONG, win::kErrorFilenameExcedRange},
        {EISDIR, win::kErrorDirectory},        {ENOTDIR, win::kErrorPathNotFound},
        {EMFILE, win::kErrorTooManyOpenFiles}, {EBADF, win::kErrorInvalidHandle},
        {EIO, win::kErrorGenFailure},          {EINVAL, win::kErrorInvalidParameter},
        {ENOTSUP, win::kErrorNotSupported},    {ELOOP, win::kErrorCantResolveFilename},
    };
    for (const auto& [error, code] : mapped) {
        EXPECT_EQ(WinErrorFromErrno(error, true), code) << error;
    }
    EXPECT_EQ(WinErrorFromErrno(ENOENT, true), win::kErrorFileNotFound);
    EXPECT_EQ(WinErrorFromErrno(ENOENT, false), win::kErrorPathNotFound);
    EXPECT_EQ(WinErrorFromErrno(EEXIST, true, Creating::File), win::kErrorFileExists);
    EXPECT_EQ(WinErrorFromErrno(EEXIST, true, Creating::Folder), win::kErrorAlreadyExists);
}

class ErrorAfterHostCall : public HostedMachine {};

TEST_F(ErrorAfterHostCall, AMissingEntryIsAMissingPathWhenItsFolderIsMissingToo) {
    EXPECT_EQ(hosted::WinErrorAfterHostCall(ENOENT, drive() / "missing.txt"),
              win::kErrorFileNotFound);
    EXPECT_EQ(hosted::WinErrorAfterHostCall(ENOENT, drive() / "missing" / "file.txt"),
              win::kErrorPathNotFound);
    WriteFile(drive() / "file", "a file is no folder");
    EXPECT_EQ(hosted::WinErrorAfterHostCall(ENOENT, drive() / "file" / "x"),
              win::kErrorPathNotFound);
}

TEST(ErrorText, GivesTheSystemTextOfEveryKnownCode) {
    EXPECT_EQ(hosted::SystemMessageText(2), "The system cannot find the file specified.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(3), "The system cannot find the path specified.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(5), "Access is denied.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(80), "The file exists.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(112), "There is not enough space on the disk.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(145), "The directory is not empty.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(183),
              "Cannot create a file when that file already exists.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(234), "More data is available.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(259), "No more data is available.\r\n");
    EXPECT_EQ(hosted::SystemMessageText(9999), "");

    for (const std::uint32_t code : {0u,  1u,  4u,  6u,   8u,   15u,  19u,  21u,  31u,  32u,
                                     38u, 50u, 87u, 122u, 123u, 131u, 161u, 206u, 267u, 1921u}) {
        const std::string text = hosted::SystemMessageText(code);
        EXPECT_GT(text.size(), 2u) << code;
        EXPECT_TRUE(text.ends_with("\r\n")) << code;
    }
}

}  // namespace
}  // namespace hosted_test
