#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

#include "contract.h"
#include "platform/win_constants.h"

namespace contract {
namespace {

std::string Described(const platform::FileFind& find) {
    return find.GetFilePath() + (find.IsDots() ? " dots" : "") +
           (find.MatchesMask(win::kFileAttributeDirectory) ? " dir" : "") +
           (find.MatchesMask(win::kFileAttributeHidden) ? " hidden" : "") + "; ";
}

// Walks a search as the guarded deletion does: every entry is handled, the
// one for which FindNextFile said false included, and it stays current.
std::string Walk(Checks& checks, platform::FileFind& find, const std::string& pattern,
                 bool sorted) {
    std::vector<std::string> seen;
    for (bool more = find.FindFile(pattern); more;) {
        more = find.FindNextFile();
        seen.push_back(Described(find));
    }
    CHECK_TRUE(!find.FindNextFile() && !seen.empty() && Described(find) == seen.back());
    const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    if (!sorted) {
        std::sort(seen.begin(), seen.end(), [&](auto& a, auto& b) {
            return std::lexicographical_compare(
                a.begin(), a.end(), b.begin(), b.end(),
                [&](char x, char y) { return upper(x) < upper(y); });
        });
    }
    std::string listing;
    for (const std::string& entry : seen) {
        listing += entry;
    }
    return listing;
}

}  // namespace

void CheckFolderSearch(Checks& checks, Seam& seam, const Fixture& fixture) {
    platform::FileSystem& files = seam.files;
    const std::string f = fixture.Folder();
    CHECK_TRUE(files.CreateDirectoryA(f) && files.CreateDirectoryA(f + "\\Sub"));
    for (const char* name : {"\\b.txt", "\\C.TXT", "\\A.txt"}) {
        CHECK_EQ(files.Close(files.CreateExclusive(f + name)), 0);
    }
    CHECK_TRUE(files.SetFileAttributesA(f + "\\b.txt", win::kFileAttributeHidden));
    const std::unique_ptr<platform::FileFind> find = files.NewFileFind();
    CHECK_EQ(Walk(checks, *find, f + "\\*.*", fixture.searchIsSorted),
             f + "\\. dots dir; " + f + "\\.. dots dir; " + f + "\\A.txt; " + f +
                 "\\b.txt hidden; " + f + "\\C.TXT; " + f + "\\Sub dir; ");
    CHECK_EQ(Walk(checks, *find, f + "\\sub\\*", true),
             f + "\\sub\\. dots dir; " + f + "\\sub\\.. dots dir; ");
    find->Close();
    CHECK_EQ(find->GetFilePath(), "");
    CHECK_ERROR(find->FindFile(f + "\\missing\\*.*"), win::kErrorPathNotFound);
    CHECK_ERROR(files.RemoveDirectoryA(f), win::kErrorDirNotEmpty);
    CHECK_ERROR(files.RemoveDirectoryA(f + "\\a.TXT"), win::kErrorDirectory);
    CHECK_ERROR(files.RemoveDirectoryA(f + "\\gone"), win::kErrorFileNotFound);
    CHECK_TRUE(files.DeleteFileA(f + "\\A.txt") && files.DeleteFileA(f + "\\b.txt") &&
               files.DeleteFileA(f + "\\C.TXT") && files.RemoveDirectoryA(f + "\\SUB") &&
               files.RemoveDirectoryA(f));
}

}  // namespace contract
