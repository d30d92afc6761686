// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "tools/tessaro-play/event_line.h"

namespace tessaro::play {
namespace {

TEST(EventLineTest, NumbersClipsOfVideoAndPicturePlaybacks) {
    struct Case {
        EventReport report;
        std::string line;
    };
    const Case cases[] = {
        {{2.412, "CurAudioNos", 6, 3, true}, "   2.412 s  CurAudioNos  clip 2 of 3  (TotalRec 6)"},
        {{0.004, "CurAudioNos", 3, 3, false}, "   0.004 s  CurAudioNos  clip 1 of 3  (TotalRec 3)"},
        {{4.5, "CurAudioNos", 4, 6, false}, "   4.500 s  CurAudioNos  clip 3 of 4  (TotalRec 4)"},
        {{8.123, "VideoEnd", 9, 3, true}, "   8.123 s  VideoEnd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatEventLine(c.report), c.line);
    }
}

TEST(EventLineTest, JsonCarriesTimeEventAndCounters) {
    EXPECT_EQ(formatEventJson({2.4123, "CurAudioNos", 6, 3, true}),
              R"({"t":2.412,"event":"CurAudioNos","TotalRec":6,"AudioNo":3})");
    EXPECT_EQ(formatEventJson({1.0, "VideoEnd", 4, 7, false}),
              R"({"t":1.0,"event":"VideoEnd","TotalRec":4,"AudioNo":7})");
}

}  // namespace
}  // namespace tessaro::play
