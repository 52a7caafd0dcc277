#include "platform/hosted/path_syntax.h"

#include <gtest/gtest.h>

namespace {

TEST(PathSyntax, SkipsTheRootOfDriveAndNetworkPaths) {
    const std::pair<const char*, const char*> rooted[] = {
        {"E:\\A\\B", "A\\B"},
        {"E:\\", ""},
        {"\\\\server\\share\\x", "x"},
        {"\\\\server\\share\\", ""},
    };
    for (const auto& [path, expected] : rooted) {
        std::string rest = "unchanged";
        EXPECT_TRUE(hosted::PathSkipRootA(path, rest)) << path;
        EXPECT_EQ(rest, expected) << path;
    }
    for (const char* path :
         {"", "E:", "E:A", "E:/A", "A\\B", "\\A", "\\\\server", "\\\\server\\share"}) {
        std::string rest = "unchanged";
        EXPECT_FALSE(hosted::PathSkipRootA(path, rest)) << path;
        EXPECT_EQ(rest, "unchanged") << path;
    }
}

TEST(PathSyntax, NetworkPathsBeginWithTwoBackslashes) {
    EXPECT_TRUE(hosted::PathIsUNCA("\\\\server\\share"));
    EXPECT_TRUE(hosted::PathIsUNCA("\\\\"));
    EXPECT_FALSE(hosted::PathIsUNCA("\\server"));
    EXPECT_FALSE(hosted::PathIsUNCA("//server/share"));
    EXPECT_FALSE(hosted::PathIsUNCA("E:\\"));
}

}  // namespace
