#include "platform/win32/win32_file_find.h"

#include <string>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

struct FoundEntry {
    std::string name;
    DWORD attributes = 0;

    void Take(const WIN32_FIND_DATAA& data) {
        name = data.cFileName;
        attributes = data.dwFileAttributes;
    }
};

// The system hands out entries one ahead: the search always holds the entry
// that FindNextFile will move to, so that it can tell when it moves to the
// last one.
class Win32FileFind final : public FileFind {
  public:
    ~Win32FileFind() override { Close(); }

    bool FindFile(const std::string& pattern) override {
        Close();
        WIN32_FIND_DATAA data;
        HANDLE search = ::FindFirstFileA(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) {
            return false;
        }
        search_ = search;
        next_.Take(data);
        hasNext_ = true;
        root_ = FolderOf(pattern);
        return true;
    }

    bool FindNextFile() override {
        if (!hasNext_) {
            return false;
        }
        current_ = next_;
        hasCurrent_ = true;
        WIN32_FIND_DATAA data;
        hasNext_ = ::FindNextFileA(search_, &data) != FALSE;
        if (hasNext_) {
            next_.Take(data);
        }
        return hasNext_;
    }

    bool MatchesMask(std::uint32_t mask) const override {
        return hasCurrent_ && (current_.attributes & mask) != 0;
    }

    bool IsDots() const override {
        return hasCurrent_ && (current_.name == "." || current_.name == "..");
    }

    std::string GetFilePath() const override {
        if (!hasCurrent_) {
            return {};
        }
        bool endsWithSeparator = !root_.empty() && (root_.back() == '\\' || root_.back() == '/');
        return endsWithSeparator ? root_ + current_.name : root_ + '\\' + current_.name;
    }

    void Close() override {
        if (search_ != INVALID_HANDLE_VALUE) {
            ::FindClose(search_);
            search_ = INVALID_HANDLE_VALUE;
        }
        hasNext_ = false;
        hasCurrent_ = false;
    }

  private:
    // The pattern's folder as a full path: everything before its last
    // separator ("E:\HelpFiles\*.*" gives "E:\HelpFiles").
    static std::string FolderOf(const std::string& pattern) {
        char full[MAX_PATH];
        DWORD length = ::GetFullPathNameA(pattern.c_str(), MAX_PATH, full, nullptr);
        std::string path = length > 0 && length < MAX_PATH ? std::string(full, length) : pattern;
        std::string::size_type separator = path.find_last_of("\\/");
        return separator == std::string::npos ? std::string() : path.substr(0, separator);
    }

    HANDLE search_ = INVALID_HANDLE_VALUE;
    std::string root_;
    FoundEntry next_;
    FoundEntry current_;
    bool hasNext_ = false;
    bool hasCurrent_ = false;
};

}  // namespace

std::unique_ptr<FileFind> NewWin32FileFind() {
    return std::make_unique<Win32FileFind>();
}

}  // namespace platform::win32
