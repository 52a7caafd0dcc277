#include "fileops/guarded_delete.h"

#include <functional>

#include "fileops/error_text.h"

namespace fileops {

namespace {

void ShowError(platform::Platform& os, const std::string& text) {
    os.ui.AfxMessageBox(text, win::kMbOk | win::kMbIconHand);
}

// True unless the user answers No.
bool AskYes(platform::Platform& os, const std::string& text) {
    return os.ui.AfxMessageBox(text, win::kMbYesNo | win::kMbIconQuestion) != win::kIdNo;
}

// "E:\A\*.*" for the folder "E:\A" as for "E:\A\"; nothing for no folder.
std::string SearchPattern(const std::string& folder) {
    if (folder.empty()) {
        return "";
    }
    return folder.back() == '\\' ? folder + "*.*" : folder + "\\*.*";
}

// Removes a folder that holds no entry, or a folder link: the link goes and
// what it leads to stays.
int RemoveFolder(platform::Platform& os, const std::string& path) {
    if (!ClearReadOnly(os, path)) {
        return 0;
    }
    if (os.files.RemoveDirectoryA(path)) {
        return 1;
    }
    const std::string reason = GetLastErrorText(os.system);
    ShowError(os, "Unable to delete directory: " + path + " \r\nError Message: " + reason);
    return 0;
}

// Hands each entry of a started search to visit, in the file system's order
// and with the wait cursor shown, until visit refuses one; then closes the
// search. True when visit took every entry.
bool EveryEntry(platform::Platform& os, platform::FileFind& find,
                const std::function<bool(const platform::FileFind&)>& visit) {
    bool more = true;
    bool taken = true;
    while (more && taken) {
        os.ui.BeginWaitCursor();
        more = find.FindNextFile();
        taken = visit(find);
        os.ui.EndWaitCursor();
    }
    find.Close();
    return taken;
}

// Deletes the entry that a search of a folder being emptied stands on.
bool DeleteEntry(platform::Platform& os, const platform::FileFind& find) {
    const std::string path = find.GetFilePath();
    if (find.MatchesMask(win::kFileAttributeDirectory)) {
        return DeleteDirectoryTree(os, path) != 0;
    }
    return ClearReadOnly(os, path) && os.files.DeleteFileA(path);
}

}  // namespace

int DeleteFileOrDirectory(platform::Platform& os, const std::string& path, int skipReadOnlyPrompt) {
    if (!os.files.PathFileExistsA(path)) {
        // The kind of entry is not known yet: the kind word stays empty.
        const std::string reason = GetLastErrorText(os.system);
        ShowError(os, "Unable to find : " + path + "\r\nSystem Message: " + reason);
        return 0;
    }
    const bool folder = os.files.PathIsDirectoryA(path);
    const std::string kind = folder ? "Directory" : "File";

    const std::uint32_t attributes = os.files.GetFileAttributesA(path);
    if (attributes == win::kInvalidFileAttributes) {
        const std::string reason = GetLastErrorText(os.system);
        ShowError(os, "Unable to get attributes of " + kind + ": " + path +
                          " \r\nError Message: " + reason);
        return 0;
    }
    if ((attributes & win::kFileAttributeReadonly) != 0) {
        if (!skipReadOnlyPrompt &&
            !AskYes(os, "The " + kind + ": " + path + " is read-only.\r\nDelete it anyway?")) {
            return 1;
        }
        if (!os.files.SetFileAttributesA(path, attributes & ~win::kFileAttributeReadonly)) {
            const std::string reason = GetLastErrorText(os.system);
            ShowError(os, "Unable to change attributes of " + kind + ": " + path +
                              " to delete\r\nError Message: " + reason);
            return 0;
        }
    }

    if (folder) {
        if (!IsDirectoryEmpty(os, path) &&
            !AskYes(os, "Directory: " + path + " is not Empty.\r\nDelete Everything?")) {
            return 1;
        }
        if (DeleteDirectoryTree(os, path)) {
            return 1;
        }
        ShowError(os, "Unable to delete " + kind + ": " + path + " \r\n");
        return 0;
    }

    if (os.files.DeleteFileA(path)) {
        return 1;
    }
    const std::string reason = GetLastErrorText(os.system);
    ShowError(os, "Unable to delete " + kind + ": " + path + " \r\nError Message: " + reason);
    return 0;
}

// Depth first: every subfolder is emptied and removed as the search meets
// it, files are deleted as they are met, and the folder itself goes last. A
// folder link is never followed: it is removed like an empty folder.
int DeleteDirectoryTree(platform::Platform& os, const std::string& path) {
    if (!os.files.PathIsDirectoryA(path)) {
        return 0;
    }
    const std::uint32_t attributes = os.files.GetFileAttributesA(path);
    if (attributes == win::kInvalidFileAttributes) {
        return 0;
    }
    if ((attributes & win::kFileAttributeReparsePoint) != 0) {
        return RemoveFolder(os, path);
    }

    auto find = os.files.NewFileFind();
    if (!find->FindFile(SearchPattern(path))) {
        return 0;
    }
    const bool emptied = EveryEntry(os, *find, [&os](const platform::FileFind& entry) {
        return entry.IsDots() || DeleteEntry(os, entry);
    });
    if (!emptied) {
        return 0;
    }
    return RemoveFolder(os, path);
}

int IsDirectoryEmpty(platform::Platform& os, const std::string& path) {
    auto find = os.files.NewFileFind();
    if (!find->FindFile(SearchPattern(path))) {
        return 1;
    }
    return EveryEntry(os, *find, [](const platform::FileFind& entry) { return entry.IsDots(); });
}

int ClearReadOnly(platform::Platform& os, const std::string& path) {
    const std::uint32_t attributes = os.files.GetFileAttributesA(path);
    if (attributes == win::kInvalidFileAttributes) {
        const std::string reason = GetLastErrorText(os.system);
        ShowError(os,
                  "Unable to get attributes of file: " + path + " \r\nError Message: " + reason);
        return 0;
    }
    if ((attributes & win::kFileAttributeReadonly) != 0 &&
        !os.files.SetFileAttributesA(path, attributes & ~win::kFileAttributeReadonly)) {
        const std::string reason = GetLastErrorText(os.system);
        ShowError(os, "Unable to change attributes of entry: " + path +
                          " to delete\r\nError Message: " + reason);
        return 0;
    }
    return 1;
}

}  // namespace fileops
