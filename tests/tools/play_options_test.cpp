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

TEST(PlayOptionsTest, HelpAndVersionNeedNothingElseAndTakeNoOtherMode) {
    EXPECT_EQ(parsePlayOptions({"--help"}).mode, PlayMode::Help);
    EXPECT_EQ(parsePlayOptions({"--version"}).mode, PlayMode::Version);
    EXPECT_THROW(parsePlayOptions({"--version", "--list"}), std::invalid_argument);
    EXPECT_THROW(parsePlayOptions({"--help", "--preview"}), std::invalid_argument);
}

// The timer takes whole milliseconds in an int: anything beyond the stated range, and
// what is no finite number, would be converted with undefined behaviour.
TEST(PlayOptionsTest, TimeoutIsTakenWithinItsRangeOnly) {
    const auto timeout = [](const std::string& text) {
        return parsePlayOptions({"--resourcedir", "/c", "--asana", "x", "--timeout", text})
            .timeoutSeconds;
    };
    EXPECT_EQ(timeout("0.001"), MinTimeoutSeconds);
    EXPECT_EQ(timeout("86400"), MaxTimeoutSeconds);
    EXPECT_EQ(timeout("2.5e1"), 25);
    for (const std::string bad : {"soon", "", "-1", "0", "0.0009", "86400.5", "1e10", "inf", "-inf",
                                  "nan", "1e400", " 5", "5s", "0x10"}) {
        SCOPED_TRACE(bad);
        try {
            timeout(bad);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(
                error.what(),
                ("--timeout takes a number of seconds from 0.001 to 86400, not '" + bad + "'")
                    .c_str());
        }
    }
}

TEST(PlayOptionsTest, RejectsBadArgumentsWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--asana", "x"},
        {"--resourcedir", "/c"},
        {"--resourcedir", "/c", "--asana"},
        {"--resourcedir", "/c", "--asana", "x", "--preview", "--picture-preview"},
        {"--resourcedir", "/c", "--asana", "x", "--loud"},
        {"--resourcedir", "/c", "--asana", "x", "--times", "0"},
        {"--resourcedir", "/c", "--asana", "x", "--times", "2.5"},
        {"--resourcedir", "/c", "--asana", "x", "--times", "1001"},
        {"--resourcedir", "/c", "--asana", "x", "--times", "99999999999"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_THROW(parsePlayOptions(args), std::invalid_argument);
    }
}

}  // namespace
}  // namespace tessaro::play
