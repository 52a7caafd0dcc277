#include "platform/hosted/hosted_file_find.h"

#include <gtest/gtest.h>

#include <vector>

#include "hosted_machine.h"
#include "platform/win_constants.h"

namespace hosted_test {
namespace {

class HostedFileFindTest : public HostedMachine {
  protected:
    // Walks a search as the installer does, noting each entry's path and
    // whether it is a dots entry or a folder. The last entry must be
    // reported as such and stay current.
    std::vector<std::string> Walk(const std::string& pattern) {
        std::vector<std::string> seen;
        const auto find = files_.NewFileFind();
        if (!find->FindFile(pattern)) {
            return seen;
        }
        bool more = true;
        while (more) {
            more = find->FindNextFile();
            seen.push_back(Describe(*find));
        }
        EXPECT_FALSE(find->FindNextFile());
        EXPECT_EQ(Describe(*find), seen.back());
        return seen;
    }
    static std::string Describe(const platform::FileFind& find) {
        return find.GetFilePath() + (find.IsDots() ? " dots" : "") +
               (find.MatchesMask(win::kFileAttributeDirectory) ? " dir" : "");
    }
};

TEST_F(HostedFileFindTest, ListsDotsThenNamesSortedWithoutRegardToCase) {
    fs::create_directory(drive() / "Help");
    for (const char* name : {"b.txt", "A.txt", "C.TXT", "noext"}) {
        WriteFile(drive() / "Help" / name, name);
    }
    fs::create_directory(drive() / "Help" / "sub");
    const std::vector<std::string> expected = {
        "E:\\help\\. dots dir", "E:\\help\\.. dots dir", "E:\\help\\A.txt",  "E:\\help\\b.txt",
        "E:\\help\\C.TXT",      "E:\\help\\noext",       "E:\\help\\sub dir"};
    EXPECT_EQ(Walk("E:\\help\\*.*"), expected);
    EXPECT_EQ(Walk("E:\\help\\*"), expected);
}

TEST_F(HostedFileFindTest, TheDriveRootHasNoDotsAndAnEmptyRootNothing) {
    const auto find = files_.NewFileFind();
    EXPECT_FALSE(find->FindFile("E:\\*.*"));
    EXPECT_EQ(lastError_.Get(), win::kErrorFileNotFound);

    WriteFile(drive() / "only.txt", "");
    EXPECT_EQ(Walk("E:\\*.*"), std::vector<std::string>{"E:\\only.txt"});
    fs::create_directory(drive() / "Empty");
    EXPECT_EQ(Walk("E:/Empty/*.*"),
              (std::vector<std::string>{"E:/Empty/. dots dir", "E:/Empty/.. dots dir"}));
}

TEST_F(HostedFileFindTest, EntriesCarryTheirAttributes) {
    WriteFile(drive() / "hidden.sys", "");
    ASSERT_TRUE(files_.SetFileAttributesA("E:\\hidden.sys", win::kFileAttributeHidden));
    const auto find = files_.NewFileFind();
    ASSERT_TRUE(find->FindFile("E:\\*.*"));
    EXPECT_FALSE(find->MatchesMask(win::kFileAttributeHidden));
    EXPECT_FALSE(find->FindNextFile());
    EXPECT_TRUE(find->MatchesMask(win::kFileAttributeHidden));
    EXPECT_FALSE(find->MatchesMask(win::kFileAttributeDirectory | win::kFileAttributeReadonly));
    find->Close();
    EXPECT_EQ(find->GetFilePath(), "");
}

TEST_F(HostedFileFindTest, SearchesThatCannotStartSayWhy) {
    const auto find = files_.NewFileFind();
    fs::create_directory_symlink(outside(), drive() / "escape");
    WriteFile(outside() / "secret.txt", "");
    const std::pair<const char*, std::uint32_t> refused[] = {
        {"E:\\missing\\*.*", win::kErrorPathNotFound},
        {"", win::kErrorPathNotFound},
        {"E:\\*.txt", win::kErrorInvalidParameter},
        {"E:\\escape\\*.*", win::kErrorAccessDenied},
    };
    for (const auto& [pattern, code] : refused) {
        EXPECT_FALSE(find->FindFile(pattern)) << pattern;
        EXPECT_EQ(lastError_.Get(), code) << pattern;
        EXPECT_FALSE(find->FindNextFile()) << pattern;
    }
}

}  // namespace
}  // namespace hosted_test
