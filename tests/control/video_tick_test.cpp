// SPDX-License-Identifier: MIT
#include "tests/control/control_fixture.h"

namespace tessaro::testing {
namespace {

using Strings = std::vector<std::string>;

class VideoTick : public ControlTest {
  protected:
    // Starts a video preview of the asana: its tick only watches the video's mode.
    void preview(const std::string& name) {
        control.Resourcedir(course.root());
        control.AsanaNaME(name);
        container.clearRecords();
        commands.clear();
        control.Preview();
    }
};

// Each tick asks through one reply area of blanks: the position is written over the
// sound mode's reply, whose tail stays behind the position's terminator.
TEST_F(VideoTick, NarrationQueriesShareOneBlankAreaOfLength49WithoutCallback) {
    write({threeClipAsana("Tree")});
    open("Tree");
    commands.clear();
    container.advance(1);

    const auto& queries = commands.queries();
    ASSERT_EQ(queries.size(), 2u);
    EXPECT_EQ(queries[0].text, "status sound mode");
    EXPECT_EQ(queries[1].text, "status video Position");
    for (const auto& q : queries) {
        EXPECT_EQ(q.replyLength, 49u) << q.text;
        EXPECT_EQ(q.callbackWindow, 0) << q.text;
    }
    EXPECT_EQ(queries[0].areaBefore, std::string(49, ' '));
    EXPECT_EQ(queries[1].areaBefore, std::string("playing") + '\0' + std::string(41, ' '));
}

TEST_F(VideoTick, PreviewQueriesTheVideoModeOnlyThroughABlankArea) {
    write({threeClipAsana("Tree")});
    preview("Tree");
    commands.clear();
    container.advance(3);
    ASSERT_EQ(commands.queries().size(), 3u);
    for (const auto& q : commands.queries()) {
        EXPECT_EQ(q.text, "status video mode");
        EXPECT_EQ(q.areaBefore, std::string(49, ' '));
        EXPECT_EQ(q.replyLength, 49u);
        EXPECT_EQ(q.callbackWindow, 0);
    }
    EXPECT_TRUE(executed().empty());
}

// Only a stopped video ends a preview; a paused one is waited for.
TEST_F(VideoTick, PreviewWaitsThroughAPausedVideoAndEndsOnceItStops) {
    Asana a = threeClipAsana("Tree");
    a.videoMs = 600;
    write({a});
    preview("Tree");
    container.advance(200);
    interpreter.execute("pause video");
    container.advance(1000);
    EXPECT_EQ(count("VideoEnd"), 0);
    EXPECT_TRUE(control.Timer1().enabled());

    interpreter.execute("play video");
    ASSERT_TRUE(runUntilVideoEnd(1000));
    EXPECT_GE(clock.nowMs(), 1600);
    EXPECT_FALSE(control.Timer1().enabled());
    container.advance(100);
    EXPECT_EQ(count("VideoEnd"), 1);
}

// Timer1 is still enabled while the host handles a preview's VideoEnd; a handler that
// lets window messages run must not meet a second VideoEnd from a nested tick.
TEST_F(VideoTick, PreviewEndHandlerThatPumpsMessagesSeesNoNestedVideoEnd) {
    Asana a = threeClipAsana("Tree");
    a.videoMs = 300;
    write({a});
    bool timer1EnabledInHandler = false;
    container.onEvent("VideoEnd", [&] {
        if (count("VideoEnd") > 1)
            return;
        timer1EnabledInHandler = control.Timer1().enabled();
        container.advance(5);
    });
    preview("Tree");
    ASSERT_TRUE(runUntilVideoEnd(1000));
    container.advance(50);
    EXPECT_TRUE(timer1EnabledInHandler);
    EXPECT_EQ(container.events(), Strings{"VideoEnd"});
    EXPECT_FALSE(control.Timer1().enabled());
}

struct LostVideoCase {
    const char* what;
    double secondClipFrame;
    bool ends;
};

void PrintTo(const LostVideoCase& c, std::ostream* os) {
    *os << c.what;
}

class VideoTickLostVideo : public VideoTick, public ::testing::WithParamInterface<LostVideoCase> {};

// With the video file missing the position query fails, and what it leaves in the area
// (the sound mode's reply) reads as frame 0: only a clip due at frame 0 is reached.
TEST_P(VideoTickLostVideo, FailedPositionQueryReadsAsFrameZero) {
    Asana a =
        videoAsana("Lost", 3, "lost.mpg", {{"a", 0, 100}, {"b", GetParam().secondClipFrame, 100}});
    a.videoExists = false;
    write({a});
    open("Lost");
    EXPECT_EQ(runUntilVideoEnd(1000), GetParam().ends);
    EXPECT_EQ(count("CurAudioNos"), GetParam().ends ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, VideoTickLostVideo,
                         ::testing::Values(LostVideoCase{"clip due at frame 0", 0, true},
                                           LostVideoCase{"clip due at frame 1", 1, false}));

}  // namespace
}  // namespace tessaro::testing
