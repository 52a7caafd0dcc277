#include "platform/path_syntax.h"

namespace platform {

bool PathIsUNCA(const std::string& path) {
    return path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
}

bool PathSkipRootA(const std::string& path, std::string& rest) {
    if (PathIsUNCA(path)) {
        const auto shareStart = path.find('\\', 2);
        if (shareStart == std::string::npos) {
            return false;
        }
        const auto shareEnd = path.find('\\', shareStart + 1);
        if (shareEnd == std::string::npos) {
            return false;
        }
        rest = path.substr(shareEnd + 1);
        return true;
    }
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
        rest = path.substr(3);
        return true;
    }
    return false;
}

}  // namespace platform
