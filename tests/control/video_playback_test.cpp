// SPDX-License-Identifier: MIT
#include <algorithm>

#include "control/kavo_video_sync_fields.h"
#include "tests/control/control_fixture.h"

namespace tessaro::testing {
namespace {

using Strings = std::vector<std::string>;

class VideoPlayback : public ControlTest {
  protected:
    // TotalRec as the host reads it inside each CurAudioNos handler.
    std::vector<int> totalRecAtEachClip;

    void SetUp() override {
        container.onEvent("CurAudioNos",
                          [this] { totalRecAtEachClip.push_back(control.TotalRec()); });
    }

    // What a tick sends when the clip speaking has stopped as the video reaches the next
    // clip's frame: the hold, the narration closed, the next clip opened, both run.
    Strings clipStart(const std::string& clip) const {
        return {"pause video", "close sound", narrationOpen(clip), "play sound", "play video"};
    }
};

TEST_F(VideoPlayback, ThreeClipAsanaPlaysEndToEndThroughTheLookup) {
    write({threeClipAsana("Tree")});
    open("Tree");
    ASSERT_TRUE(runUntilVideoEnd());

    Strings expected = lookupAndStart("Tree.mpg", "t1");
    for (const char* clip : {"t2", "t3"})
        for (const std::string& c : clipStart(clip))
            expected.push_back(c);
    expected.push_back("close sound");
    EXPECT_EQ(executed(), expected);
    EXPECT_EQ(container.events(),
              (Strings{"CurAudioNos", "CurAudioNos", "CurAudioNos", "VideoEnd"}));
    EXPECT_EQ(totalRecAtEachClip, (std::vector<int>{3, 6, 9}));
    EXPECT_TRUE(errorBoxes.empty()) << errorBoxes.front();

    // Clip 1 had stopped long before frame 25: no tick passes between hold and advance.
    const Strings all = commands.all();
    const auto hold = std::find(all.begin(), all.end(), "status video Position");
    const auto pause = std::find(hold, all.end(), "pause video");
    ASSERT_NE(pause, all.end());
    EXPECT_EQ(*(pause + 1), "close sound");
}

TEST_F(VideoPlayback, EachLaterClipStartsOnTheFirstTickAtItsFrame) {
    write({threeClipAsana("Tree")});
    open("Tree");
    ASSERT_TRUE(runUntilVideoEnd());
    std::vector<std::int64_t> at;
    for (const sim::HostRecord& r : container.records())
        if (r.kind == sim::HostRecord::Kind::Event)
            at.push_back(r.atMs);
    // The lookup's event comes at 0; clips 2 and 3 are due at 1000 and 2000 ms; the last
    // clip ends 300 ms after it started.
    ASSERT_EQ(at.size(), 4u);
    EXPECT_EQ(at[0], 0);
    EXPECT_GE(at[1], 1000);
    EXPECT_LE(at[1], 1000 + MsPerFrame);
    EXPECT_GE(at[2], 2000);
    EXPECT_LE(at[2], 2000 + MsPerFrame);
    EXPECT_GE(at[3], at[2] + 300);
    EXPECT_LE(at[3], at[2] + 302);
}

TEST_F(VideoPlayback, ClipStillSpeakingHoldsTheVideoAndRepeatsThePauseEachTick) {
    write({videoAsana("Long", 4, "long.mpg", {{"l1", 0, 1500}, {"l2", 10, 200}})});
    open("Long");
    // Clip 2 is due at frame 10 (400 ms) while clip 1 speaks until 1500 ms.
    ASSERT_TRUE(container.runUntil([this] { return state().VideoStatus == "Pause"; }, 1000));
    commands.clear();
    const double heldAt = videoFrame();
    EXPECT_GE(heldAt, 10);
    container.advance(1000);
    EXPECT_EQ(videoFrame(), heldAt) << "the video stays held while clip 1 speaks";
    EXPECT_EQ(count("CurAudioNos"), 1);
    const auto& entries = commands.entries();
    const auto pauses = std::count_if(entries.begin(), entries.end(),
                                      [](const auto& e) { return e.text == "pause video"; });
    const auto soundQueries = std::count_if(entries.begin(), entries.end(), [](const auto& e) {
        return e.text == "status sound mode";
    });
    EXPECT_EQ(pauses, soundQueries) << "every tick of the hold sends the pause again";
    EXPECT_EQ(pauses, 1000);

    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 200));
    EXPECT_GE(clock.nowMs(), 1500);
    container.advance(100);
    EXPECT_GT(videoFrame(), heldAt) << "the video runs on with clip 2";
}

TEST_F(VideoPlayback, LastClipLeavesTheVideoRunningOnAndTheCatalogueClosed) {
    write({videoAsana("Two", 2, "two.mpg", {{"w1", 0, 100}, {"w2", 5, 300}}, 8000)});
    open("Two");
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 1000));
    EXPECT_EQ(state().ClipStart, -10);
    EXPECT_EQ(state().LastClip, True);
    EXPECT_EQ(state().VideoStatus, "Pause");
    EXPECT_THROW(state().rs->eof(), Error);
    EXPECT_THROW(state().db->openRecordset("select * from Asanas"), Error);

    ASSERT_TRUE(runUntilVideoEnd(1000));
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_EQ(state().SoundStatus, "Stopped");
    EXPECT_EQ(videoMode(), "PLAYING") << "the video is neither paused nor closed";
    const double frame = videoFrame();
    container.advance(400);
    EXPECT_GT(videoFrame(), frame);
    EXPECT_EQ(count("VideoEnd"), 1);
}

TEST_F(VideoPlayback, TotalRecGrowsByTheClipCountAndSticksBelow32768) {
    std::vector<ClipRow> clips;
    for (int k = 0; k < 200; ++k)
        clips.push_back({"m" + std::to_string(k), k, 20});
    write({videoAsana("Many", 9, "many.mpg", clips, 20000)});
    open("Many");
    ASSERT_TRUE(runUntilVideoEnd());

    ASSERT_EQ(totalRecAtEachClip.size(), 200u);
    for (int k = 1; k <= 200; ++k)
        EXPECT_EQ(totalRecAtEachClip[k - 1], std::min(k, 163) * 200) << "clip " << k;
    EXPECT_EQ(count("VideoEnd"), 1);
    // A sum that does not fit never reaches the setter, so it notifies nothing.
    const Strings properties = container.texts(sim::HostRecord::Kind::PropertyChanged);
    EXPECT_EQ(properties, Strings(163, "TotalRec"));
}

TEST_F(VideoPlayback, HostIsToldOfEachNewClipCountJustBeforeItsClipStarts) {
    write({threeClipAsana("Tree")});
    open("Tree");
    ASSERT_TRUE(runUntilVideoEnd());
    Strings log;
    for (const sim::HostRecord& r : container.records())
        log.push_back(describe(r));
    EXPECT_EQ(log, (Strings{"property TotalRec", "event CurAudioNos", "property TotalRec",
                            "event CurAudioNos", "property TotalRec", "event CurAudioNos",
                            "event VideoEnd"}));
}

struct StartCase {
    const char* what;
    std::vector<ClipRow> clips;
    // Expected clip field values after the start: the second row, or the first for one.
    std::int16_t clipStart;
    Flag lastClip;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.what;
}

class VideoStartState : public ControlTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(VideoStartState, FirstClipSpeaksAtOnceAndTheNextIsPreloaded) {
    write({videoAsana("S", 5, "s.mpg", GetParam().clips)});
    open("S");
    EXPECT_EQ(executed(), lookupAndStart("s.mpg", GetParam().clips.front().file));
    EXPECT_EQ(state().ClipStart, GetParam().clipStart);
    EXPECT_EQ(state().LastClip, GetParam().lastClip);
    EXPECT_EQ(state().SoundStatus, "Playing");
    EXPECT_EQ(state().VideoMode, True);
    EXPECT_EQ(state().VideoPreview, False);
    EXPECT_TRUE(control.Timer1().enabled());
    EXPECT_FALSE(control.Timer2().enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VideoStartState,
    ::testing::Values(StartCase{"first clip due late still starts with the video",
                                {{"a", 500}, {"b", 600}},
                                600,
                                False},
                      StartCase{"two clips", {{"a", 0}, {"b", 25}}, 25, False},
                      StartCase{"one clip enters the last clip state", {{"a", 7}}, -10, True}));

TEST_F(VideoPlayback, SecondRowIsLoadedWithAllItsColumns) {
    write({videoAsana("S", 5, "s.mpg", {{"a", 0}, {"b", 12.5, 200, "bend", 40.5, 2.25}})});
    open("S");
    EXPECT_EQ(state().ClipFile, "b");
    EXPECT_EQ(state().ClipAction, "bend");
    EXPECT_EQ(state().ClipStart, 12) << "halves round to even";
    EXPECT_EQ(state().ClipEnd, 40);
    EXPECT_EQ(state().ClipLen, 2.25);
}

TEST_F(VideoPlayback, ClipFieldThatCannotBeReadKeepsItsValueInTheTickAndTheRestLoads) {
    write({videoAsana("N", 6, "n.mpg",
                      {{"a", 0, 100}, {"b", 5, 100}, {"c", Variant::null(), 100, "late"}})});
    open("N");
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 1000));
    EXPECT_EQ(state().ClipFile, "c");
    EXPECT_EQ(state().ClipAction, "late");
    EXPECT_EQ(state().ClipStart, 5) << "the null start frame left the value before";
}

TEST_F(VideoPlayback, ResourcedirEndingInASeparatorIsPassedOnDoubled) {
    write({threeClipAsana("Tree")});
    control.Resourcedir(course.root() + "\\");
    control.AsanaNaME("Tree");
    commands.clear();
    control.fileOpen();
    const Strings sent = executed();
    ASSERT_GE(sent.size(), 4u);
    EXPECT_EQ(sent[1].substr(0, 5 + course.root().size() + 8),
              "open " + course.root() + "\\\\video\\");
    EXPECT_EQ(sent[3],
              "open " + course.root() + "\\\\sound\\mp2\\t1.mp2 alias Sound type mpegVideo");
    EXPECT_TRUE(errorBoxes.empty());
}

struct StallCase {
    const char* what;
    std::vector<ClipRow> clips;
    int clipsStarted;
};

void PrintTo(const StallCase& c, std::ostream* os) {
    *os << c.what;
}

class VideoPlaybackStall : public ControlTest, public ::testing::WithParamInterface<StallCase> {};

// Narration mode never looks at the video's own mode: a clip the video never reaches
// leaves the playback without VideoEnd.
TEST_P(VideoPlaybackStall, ClipNeverReachedNeverStartsAndNothingEnds) {
    write({videoAsana("Stall", 8, "stall.mpg", GetParam().clips, 2000)});
    open("Stall");
    EXPECT_FALSE(runUntilVideoEnd(4000));
    EXPECT_EQ(count("CurAudioNos"), GetParam().clipsStarted);
    EXPECT_EQ(videoMode(), "STOPPED") << "the video played to its end";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VideoPlaybackStall,
    ::testing::Values(
        StallCase{"negative start frame", {{"a", 0, 100}, {"b", -3}, {"c", 10}}, 1},
        StallCase{"start frame past the video's end", {{"a", 0, 100}, {"b", 60}}, 1},
        StallCase{"later clip past the end", {{"a", 0, 100}, {"b", 5, 100}, {"c", 51}}, 2}));

TEST_F(VideoPlayback, NextClipDueBehindThePositionIsHeldOnTheNextTick) {
    write({videoAsana("Back", 10, "b.mpg", {{"a", 0, 50}, {"b", 0, 50}, {"c", 0, 50}})});
    open("Back");
    container.advance(1);
    EXPECT_EQ(state().VideoStatus, "Pause");
    ASSERT_TRUE(runUntilVideoEnd(1000));
    EXPECT_EQ(count("CurAudioNos"), 3);
}

TEST_F(VideoPlayback, InitVideoCalledByTheHostHandsItsFailureBack) {
    control.Resourcedir("C:\\M");
    commands.clear();
    try {
        control.InitVideo();
        FAIL() << "InitVideo without a clip cursor returned";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 91);
    }
    EXPECT_EQ(executed(), (Strings{"open C:\\M\\video\\  alias video type mpegVideo  style child "
                                   "parent  " +
                                       std::to_string(control.Picture1().windowHandle()),
                                   "set video time format frames"}));
    EXPECT_FALSE(control.Timer1().enabled());
}

}  // namespace
}  // namespace tessaro::testing
