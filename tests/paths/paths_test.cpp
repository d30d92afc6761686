// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/paths/paths.h"
#include "tests/support/temp_folder.h"

namespace tessaro::paths {
namespace {

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "Video");
        fs::create_directories(root_ / "sound" / "mp2");
        std::ofstream(root_ / "Video" / "Pose.MPG") << "x";
        std::ofstream(root_ / "sound" / "mp2" / "Ünder.mp2") << "x";
    }
    std::string windows(const std::string& tail) const {
        std::string base = root_.string();
        std::replace(base.begin(), base.end(), '/', '\\');
        return base + tail;
    }

    tessaro::testing::TempFolder folder_{"tessaro-paths"};
    fs::path root_ = folder_.path();
};

TEST_F(PathsTest, ResolvesWindowsStylePaths) {
    struct Case {
        std::string input;
        fs::path expected;
    };
    const Case cases[] = {
        {"\\video\\pose.mpg", root_ / "Video" / "Pose.MPG"},
        {"\\\\video\\\\Pose.MPG", root_ / "Video" / "Pose.MPG"},
        {"/Video/pose.mpg", root_ / "Video" / "Pose.MPG"},
        {"\\SOUND\\MP2\\ünder.mp2", root_ / "sound" / "mp2" / "Ünder.mp2"},
        {"\\video\\missing\\Deeper.mpg", root_ / "Video" / "missing" / "Deeper.mpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(fs::path(resolve(windows(c.input))), c.expected);
    }
}

TEST_F(PathsTest, RelativePathsStayRelative) {
    EXPECT_EQ(resolve("a\\b"), "a/b");
    EXPECT_EQ(resolve(""), "");
}

TEST(FoldCaseTest, FoldsAsciiAndLatin1CapitalsOnly) {
    EXPECT_EQ(foldCase("AbC"), "abc");
    EXPECT_EQ(foldCase("ÄÖÜÀÉ"), "äöüàé");
    EXPECT_EQ(foldCase("×ß"), "×ß");
}

}  // namespace
}  // namespace tessaro::paths
