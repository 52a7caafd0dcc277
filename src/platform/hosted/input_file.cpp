#include "platform/hosted/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace hosted {

namespace {

std::string Reason(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return "no such file";
        case EACCES:
        case EPERM:
            return "permission denied";
        case EISDIR:
            return "is a folder";
        case ELOOP:
            return "too many symbolic links";
        case ENAMETOOLONG:
            return "name too long";
        case EMFILE:
        case ENFILE:
            return "too many open files";
        case EIO:
            return "input/output error";
        default:
            return "error " + std::to_string(error);
    }
}

// What stat and open say of the path, before anything is read; -1 with the
// problem when it cannot be read.
int OpenInput(const std::string& path, std::string& problem) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        problem = Reason(errno);
        return -1;
    }
    if (S_ISDIR(status.st_mode)) {
        problem = "is a folder";
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        problem = "not a regular file";
        return -1;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        problem = Reason(errno);
    }
    return fd;
}

}  // namespace

std::string InputFileProblem(const std::string& path) {
    std::string problem;
    const int fd = OpenInput(path, problem);
    if (fd >= 0) {
        close(fd);
    }
    return problem;
}

bool ReadInputFile(const std::string& path, std::string& bytes, std::string& error) {
    std::string problem;
    const int fd = OpenInput(path, problem);
    bytes.clear();
    char buffer[1 << 16];
    for (ssize_t count = 1; fd >= 0 && count > 0;) {
        count = read(fd, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (count < 0 && errno != EINTR) {
            problem = Reason(errno);
        } else if (count < 0) {
            count = 1;
        }
    }
    if (fd >= 0) {
        close(fd);
    }
    if (!problem.empty()) {
        error = path + ": cannot be read: " + problem;
        return false;
    }
    return true;
}

}  // namespace hosted
