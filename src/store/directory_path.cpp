#include "store/module_store.h"

namespace store {

int ModuleStore::CreateDirectoryPath(const std::string& path) {
    if (path.size() < 4) {
        return 0;
    }
    if (os_.files.PathIsUNCA(path)) {
        return 0;
    }
    // Only paths that begin with a drive letter, a colon and a backslash.
    std::string rest;
    if (path[1] != ':' || path[2] != '\\' || !os_.files.PathSkipRootA(path, rest)) {
        return 0;
    }
    // Each folder is named with a final backslash, parent first: "E:\A\",
    // then "E:\A\B\". Empty names (doubled or final backslashes) are passed
    // over.
    std::string folder = path.substr(0, 3);
    for (std::size_t begin = 0; begin <= rest.size();) {
        std::size_t end = rest.find('\\', begin);
        if (end == std::string::npos) {
            end = rest.size();
        }
        if (end > begin) {
            folder += rest.substr(begin, end - begin) + '\\';
            if (!os_.files.PathIsDirectoryA(folder) && !os_.files.CreateDirectoryA(folder)) {
                return 0;
            }
        }
        begin = end + 1;
    }
    return 1;
}

}  // namespace store
