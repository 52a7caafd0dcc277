#include "platform/hosted/error_text.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "platform/win_constants.h"

namespace hosted {

namespace {

struct CodeText {
    std::uint32_t code;
    const char* text;
};

constexpr CodeText kMessages[] = {
    {win::kErrorSuccess, "The operation completed successfully.\r\n"},
    {win::kErrorInvalidFunction, "Incorrect function.\r\n"},
    {win::kErrorFileNotFound, "The system cannot find the file specified.\r\n"},
    {win::kErrorPathNotFound, "The system cannot find the path specified.\r\n"},
    {win::kErrorTooManyOpenFiles, "The system cannot open the file.\r\n"},
    {win::kErrorAccessDenied, "Access is denied.\r\n"},
    {win::kErrorInvalidHandle, "The handle is invalid.\r\n"},
    {win::kErrorNotEnoughMemory, "Not enough storage is available to process this command.\r\n"},
    {win::kErrorInvalidDrive, "The system cannot find the drive specified.\r\n"},
    {win::kErrorWriteProtect, "The media is write protected.\r\n"},
    {win::kErrorNotReady, "The device is not ready.\r\n"},
    {win::kErrorGenFailure, "A device attached to the system is not functioning.\r\n"},
    {win::kErrorSharingViolation,
     "The process cannot access the file because it is being used by another process.\r\n"},
    {win::kErrorHandleEof, "Reached the end of the file.\r\n"},
    {win::kErrorNotSupported, "The request is not supported.\r\n"},
    {win::kErrorFileExists, "The file exists.\r\n"},
    {win::kErrorInvalidParameter, "The parameter is incorrect.\r\n"},
    {win::kErrorDiskFull, "There is not enough space on the disk.\r\n"},
    {win::kErrorInsufficientBuffer, "The data area passed to a system call is too small.\r\n"},
    {win::kErrorInvalidName,
     "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {win::kErrorNegativeSeek,
     "An attempt was made to move the file pointer before the beginning of the file.\r\n"},
    {win::kErrorDirNotEmpty, "The directory is not empty.\r\n"},
    {win::kErrorBadPathname, "The specified path is invalid.\r\n"},
    {win::kErrorAlreadyExists, "Cannot create a file when that file already exists.\r\n"},
    {win::kErrorFilenameExcedRange, "The filename or extension is too long.\r\n"},
    {win::kErrorMoreData, "More data is available.\r\n"},
    {win::kErrorNoMoreItems, "No more data is available.\r\n"},
    {win::kErrorDirectory, "The directory name is invalid.\r\n"},
    {win::kErrorCantResolveFilename, "The name of the file cannot be resolved by the system.\r\n"},
};

bool FolderExists(const std::filesystem::path& folder) {
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::uint32_t WinErrorFromErrno(int error, bool parentExists, Creating creating) {
    switch (error) {
        case 0:
            return win::kErrorSuccess;
        case ENOENT:
            return parentExists ? win::kErrorFileNotFound : win::kErrorPathNotFound;
        case ENOTDIR:
            return win::kErrorPathNotFound;
        case EISDIR:
            return win::kErrorDirectory;
        case EACCES:
        case EPERM:
            return win::kErrorAccessDenied;
        case EROFS:
            return win::kErrorWriteProtect;
        case EEXIST:
            return creating == Creating::Folder ? win::kErrorAlreadyExists : win::kErrorFileExists;
        case ENOTEMPTY:
            return win::kErrorDirNotEmpty;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return win::kErrorDiskFull;
        case ENAMETOOLONG:
            return win::kErrorFilenameExcedRange;
        case EMFILE:
        case ENFILE:
            return win::kErrorTooManyOpenFiles;
        case EBADF:
            return win::kErrorInvalidHandle;
        case ENOMEM:
            return win::kErrorNotEnoughMemory;
        case EBUSY:
        case ETXTBSY:
            return win::kErrorSharingViolation;
        case EINVAL:
            return win::kErrorInvalidParameter;
        case ELOOP:
            return win::kErrorCantResolveFilename;
        case ENODEV:
        case ENXIO:
        case ENOMEDIUM:
            return win::kErrorNotReady;
        case ENOTSUP:
            return win::kErrorNotSupported;
        case EIO:
        default:
            return win::kErrorGenFailure;
    }
}

std::uint32_t WinErrorAfterHostCall(int error, const std::string& hostPath, Creating creating) {
    const bool parentExists =
        error != ENOENT || FolderExists(std::filesystem::path(hostPath).parent_path());
    return WinErrorFromErrno(error, parentExists, creating);
}

std::string SystemMessageText(std::uint32_t code) {
    for (const auto& message : kMessages) {
        if (message.code == code) {
            return message.text;
        }
    }
    return {};
}

}  // namespace hosted
