// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "platform/media/reply_reading.h"

namespace tessaro::media {
namespace {

// A 50-character area as the control lays it out: blanks, then the reply written over
// its front as a C string.
std::string area(const std::string& written) {
    std::string text(50, ' ');
    text.replace(0, written.size(), written);
    return text;
}

struct ModeCase {
    std::string area;
    std::string mode;
};

class ModeReading : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ModeReading, TrimsDropsTheTerminatorCutsAtNulAndUpperCases) {
    const ModeCase& c = GetParam();
    EXPECT_EQ(readModeReply(c.area.data(), c.area.size()), c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ModeReading,
    ::testing::Values(ModeCase{area(std::string("stopped\0", 8)), "STOPPED"},
                      ModeCase{area(std::string("Playing\0", 8)), "PLAYING"},
                      ModeCase{area(""), ""},  // a failed query: all blanks
                      ModeCase{area(std::string("  paused\0", 9)), "PAUSED"},
                      // a shorter reply over a longer one: the stale rest is cut at the NUL
                      ModeCase{area(std::string("stopped\0ing\0", 12)), "STOPPED"},
                      // a full area without blanks: only the terminator goes
                      ModeCase{std::string(49, 'a') + std::string(1, '\0'), std::string(49, 'A')},
                      // no terminator at all: the last letter is dropped all the same
                      ModeCase{std::string("stopped   "), "STOPPE"}, ModeCase{std::string(), ""}));

struct PositionCase {
    std::string area;
    double position;
};

class PositionReading : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionReading, ReadsTheLeadingNumberOrZero) {
    const PositionCase& c = GetParam();
    EXPECT_DOUBLE_EQ(readPositionReply(c.area.data(), c.area.size()), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, PositionReading,
    ::testing::Values(PositionCase{area(std::string("125\0", 4)), 125},
                      PositionCase{area(std::string("0\0", 2)), 0}, PositionCase{area(""), 0},
                      PositionCase{area(std::string("stopped\0", 8)), 0},
                      // the first query's mode word left behind the position reply
                      PositionCase{area(std::string("42\0ped\0", 7)), 42},
                      PositionCase{area(std::string("-3.5\0", 5)), -3.5},
                      PositionCase{area(std::string("12abc\0", 6)), 12},
                      PositionCase{area(std::string("-\0", 2)), 0},
                      // the number's last digit is taken for the terminator when none
                      PositionCase{std::string("1234"), 123}));

TEST(Replies, MissingAreaReadsEmpty) {
    EXPECT_EQ(readModeReply(nullptr, 0), "");
    EXPECT_EQ(readPositionReply(nullptr, 0), 0);
}

}  // namespace
}  // namespace tessaro::media
