// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/tessaro-play/play_options.h"

namespace tessaro::play {
namespace {

TEST(PlayOptionsTest, ReadsEveryOption) {
    const auto options =
        parsePlayOptions({"--resourcedir", "/c", "--asana", "Bhujangásana", "--picture-preview",
                          "--window", "--json", "--timeout", "12.5", "--times", "3"});
    EXPECT_EQ(options.resourceDir, "/c");
    EXPECT_EQ(options.asana, "Bhujangásana");
    EXPECT_EQ(options.mode, PlayMode::PicturePreview);
    EXPECT_TRUE(options.window);
    EXPECT_TRUE(options.json);
    EXPECT_EQ(options.timeoutSeconds, 12.5);
    EXPECT_EQ(options.times, 3);
}

TEST(PlayOptionsTest, ListNeedsNoAsana) {
    const auto options = parsePlayOptions({"--list", "--resourcedir", "/c"});
    EXPECT_EQ(options.mode, PlayMode::List);
    EXPECT_FALSE(options.timeoutSeconds.has_value());
}

TEST(PlayOptionsTest, VersionNeedsNothingElseAndTakesNoOtherMode) {
    EXPECT_EQ(parsePlayOptions({"--version"}).mode, PlayMode::Version);
    EXPECT_THROW(parsePlayOptions({"--version", "--list"}), std::invalid_argument);
}

TEST(PlayOptionsTest, RejectsBadArgumentsWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--asana", "x"},
        {"--resourcedir", "/c"},
        {"--resourcedir", "/c", "--asana"},
        {"--resourcedir", "/c", "--asana", "x", "--preview", "--picture-preview"},
        {"--resourcedir", "/c", "--asana", "x", "--timeout", "soon"},
        {"--resourcedir", "/c", "--asana", "x", "--timeout", "-1"},
        {"--resourcedir", "/c", "--asana", "x", "--loud"},
        {"--resourcedir", "/c", "--asana", "x", "--times", "0"},
        {"--resourcedir", "/c", "--asana", "x", "--times", "2.5"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_THROW(parsePlayOptions(args), std::invalid_argument);
    }
}

}  // namespace
}  // namespace tessaro::play
