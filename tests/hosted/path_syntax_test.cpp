#include "platform/path_syntax.h"

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
        EXPECT_TRUE(platform::PathSkipRootA(path, rest)) << path;
        EXPECT_EQ(rest, expected) << path;
    }
    for (const char* path :
         {"", "E:", "E:A", "E:/A", "A\\B", "\\A", "\\\\server", "\\\\server\\share"}) {
        std::string rest = "unchanged";
        EXPECT_FALSE(platform::PathSkipRootA(path, rest)) << path;
        EXPECT_EQ(rest, "unchanged") << path;
    }
}

TEST(PathSyntax, NetworkPathsBeginWithTwoBackslashes) {
    EXPECT_TRUE(platform::PathIsUNCA("\\\\server\\share"));
    EXPECT_TRUE(platform::PathIsUNCA("\\\\"));
    EXPECT_FALSE(platform::PathIsUNCA("\\server"));
    EXPECT_FALSE(platform::PathIsUNCA("//server/share"));
    EXPECT_FALSE(platform::PathIsUNCA("E:\\"));
}

}  // namespace
