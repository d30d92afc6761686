// SPDX-License-Identifier: MIT
#include "control/kavo_video_sync_fields.h"
#include "tests/control/control_fixture.h"

namespace tessaro::testing {
namespace {

using Strings = std::vector<std::string>;

class Transport : public ControlTest {
  protected:
    Strings afterClear(const std::function<void()>& call) {
        commands.clear();
        call();
        return executed();
    }
    void pause() { EXPECT_TRUE(control.Pause().isEmpty()); }
    void start() { EXPECT_TRUE(control.Start().isEmpty()); }
};

TEST_F(Transport, PauseAndStartWhileRunningActOnBothDevicesAndTimer1) {
    write({threeClipAsana("Tree")});
    open("Tree");
    container.advance(100);
    EXPECT_EQ(afterClear([this] { pause(); }), (Strings{"pause sound", "pause video"}));
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_FALSE(control.Timer2().enabled());
    const double frame = videoFrame();
    container.advance(500);
    EXPECT_EQ(videoFrame(), frame);

    EXPECT_EQ(afterClear([this] { start(); }), (Strings{"play sound", "play video"}));
    EXPECT_TRUE(control.Timer1().enabled());
    EXPECT_FALSE(control.Timer2().enabled());
    ASSERT_TRUE(runUntilVideoEnd());
    EXPECT_EQ(count("CurAudioNos"), 3);
}

TEST_F(Transport, DuringTheHoldOnlyTheNarrationIsPausedAndResumed) {
    write({videoAsana("Long", 4, "long.mpg", {{"l1", 0, 1500}, {"l2", 10, 200}})});
    open("Long");
    ASSERT_TRUE(container.runUntil([this] { return state().VideoStatus == "Pause"; }, 1000));
    EXPECT_EQ(afterClear([this] { pause(); }), Strings{"pause sound"});
    container.advance(300);
    EXPECT_EQ(afterClear([this] { start(); }), Strings{"play sound"});
    EXPECT_TRUE(control.Timer1().enabled());
    EXPECT_EQ(videoMode(), "PAUSED") << "the loop keeps the video held";
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 2000));
    EXPECT_GE(clock.nowMs(), 1800) << "clip 1 spoke its full length";
}

TEST_F(Transport, DuringTheLastClipTheVideoRunsOn) {
    write({videoAsana("Two", 2, "two.mpg", {{"w1", 0, 100}, {"w2", 5, 300}})});
    open("Two");
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 1000));
    EXPECT_EQ(afterClear([this] { pause(); }), Strings{"pause sound"});
    const double frame = videoFrame();
    container.advance(200);
    EXPECT_GT(videoFrame(), frame);
    EXPECT_EQ(count("VideoEnd"), 0) << "the paused narration does not end";
    EXPECT_EQ(afterClear([this] { start(); }), Strings{"play sound"});
    ASSERT_TRUE(runUntilVideoEnd(1000));
}

TEST_F(Transport, PauseTwiceSendsThePauseCommandsTwiceAndStartAloneReplays) {
    write({threeClipAsana("Tree")});
    open("Tree");
    EXPECT_EQ(afterClear([this] {
                  pause();
                  pause();
              }),
              (Strings{"pause sound", "pause video", "pause sound", "pause video"}));
    EXPECT_EQ(afterClear([this] {
                  start();
                  start();
              }),
              (Strings{"play sound", "play video", "play sound", "play video"}));
    EXPECT_TRUE(control.Timer1().enabled());
}

// Only a stop ends the clip start in progress. A Pause made inside the handler finds the
// narration closed and the video held, so it sends nothing; the tick then opens and plays
// the clip and enables Timer1 again.
TEST_F(Transport, PauseInsideCurAudioNosIsOverriddenByTheClipStart) {
    write({threeClipAsana("Tree")});
    open("Tree");
    container.onEvent("CurAudioNos", [this] { control.Pause(); });
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 2000));
    const Strings sent = executed();
    ASSERT_GE(sent.size(), 5u);
    EXPECT_EQ(
        Strings(sent.end() - 5, sent.end()),
        (Strings{"pause video", "close sound", narrationOpen("t2"), "play sound", "play video"}));
    EXPECT_TRUE(control.Timer1().enabled());
    EXPECT_EQ(state().SoundStatus, "Playing");
    EXPECT_EQ(state().VideoStatus, "Playing");
}

TEST_F(Transport, StopTwiceClosesEverythingAndRaisesNothing) {
    write({threeClipAsana("Tree")});
    open("Tree");
    container.advance(100);
    const std::string videoStatus = state().VideoStatus;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(afterClear([this] { EXPECT_TRUE(control.StopPlay().isEmpty()); }),
                  Strings{"close all"});
        EXPECT_FALSE(control.Timer1().enabled());
        EXPECT_FALSE(control.Timer2().enabled());
    }
    EXPECT_EQ(state().VideoStatus, videoStatus);
    EXPECT_EQ(state().SoundStatus, "Playing");
    EXPECT_EQ(count("VideoEnd"), 0);
    EXPECT_THROW(state().rs->eof(), Error);
    commands.clear();
    container.advance(2000);
    EXPECT_TRUE(commands.entries().empty());
}

TEST_F(Transport, StopBeforeAnyCatalogueWasOpenedPassesSilently) {
    EXPECT_EQ(afterClear([this] { control.StopPlay(); }), Strings{"close all"});
}

TEST_F(Transport, BeforeAnyPlaybackPauseSendsNothingAndStartEnablesTimer2) {
    control.Timer1().setEnabled(true);
    EXPECT_TRUE(afterClear([this] { pause(); }).empty());
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_TRUE(afterClear([this] { start(); }).empty());
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_TRUE(control.Timer2().enabled());
}

TEST_F(Transport, NewLookupAfterStopPlaysAgain) {
    write({threeClipAsana("Tree")});
    open("Tree");
    container.advance(100);
    control.StopPlay();
    open("Tree");
    EXPECT_EQ(executed(), lookupAndStart("Tree.mpg", "t1"));
    EXPECT_EQ(afterClear([this] { pause(); }), (Strings{"pause sound", "pause video"}));
    start();
    ASSERT_TRUE(runUntilVideoEnd());
}

TEST_F(Transport, PlaybackStartedInsideVideoEndCanBePausedAndPlaysThrough) {
    write({threeClipAsana("Tree", 3), threeClipAsana("Next", 4)});
    bool restarted = false;
    container.onEvent("VideoEnd", [&] {
        if (restarted)
            return;
        restarted = true;
        control.AsanaNaME("Next");
        control.fileOpen();
    });
    open("Tree");
    ASSERT_TRUE(runUntilVideoEnd());
    ASSERT_TRUE(restarted);
    EXPECT_TRUE(control.Timer1().enabled());
    EXPECT_EQ(afterClear([this] { pause(); }), (Strings{"pause sound", "pause video"}));
    start();
    ASSERT_TRUE(container.runUntil([this] { return count("VideoEnd") == 2; }, 10000));
    EXPECT_EQ(count("CurAudioNos"), 6);
}

}  // namespace
}  // namespace tessaro::testing
