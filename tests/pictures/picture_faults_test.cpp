// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/kavo_video_sync_fields.h"
#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Three rows; the second row's picture is spoiled as the case says.
struct SpoiledRow {
    const char* what;
    Variant imageName;
    bool declared;
    bool damaged;
};

void PrintTo(const SpoiledRow& row, std::ostream* out) {
    *out << row.what;
}

void declareRows(Harness& h, const SpoiledRow& second) {
    AsanaEntry asana{"Bridge", 9, "Photo", "", {}, {}};
    asana.pictures = {{"talk1", "p1.jpg"}, {"talk2", second.imageName}, {"talk3", "p3.jpg"}};
    h.course.writeEverywhere({asana});
    for (const char* narration : {"talk1", "talk2", "talk3"})
        h.declareNarration(narration, 400);
    h.declarePicture("p1.jpg");
    h.declarePicture("p3.jpg");
    if (second.declared)
        h.declarePicture(second.imageName.toText());
    if (second.damaged)
        h.declareDamagedPicture(second.imageName.toText());
    h.name("Bridge");
}

class SpoiledPicture : public ::testing::TestWithParam<SpoiledRow> {};

TEST_P(SpoiledPicture, NarratedPlaybackClearsThePictureAndGoesOnToItsEnd) {
    Harness h;
    declareRows(h, GetParam());
    std::vector<std::string> shownAtNarration;
    h.container.onEvent("CurAudioNos", [&] { shownAtNarration.push_back(h.shown()); });

    h.control.fileOpen();
    ASSERT_TRUE(h.runUntilVideoEnd(10000)) << "the playback stalled";
    EXPECT_THAT(shownAtNarration, ElementsAre("", "", h.picturePath("p3.jpg")));
    const std::vector<std::string> executed = h.executed();
    EXPECT_EQ(std::count(executed.begin(), executed.end(),
                         "open " + h.narrationPath("talk2") + " alias Sound type mpegVideo"),
              1)
        << "the spoiled row's narration is still heard";
    EXPECT_EQ(h.count("VideoEnd"), 1);
    EXPECT_EQ(h.control.state().AudioNo, 5);
}

TEST_P(SpoiledPicture, SilentPreviewClearsThePictureForItsIntervalAndGoesOn) {
    Harness h;
    declareRows(h, GetParam());
    h.control.Ppreview();
    h.container.advance(200);
    EXPECT_EQ(h.shown(), "");
    EXPECT_TRUE(h.control.Timer2().enabled());
    h.container.advance(200);
    EXPECT_EQ(h.shown(), h.picturePath("p3.jpg"));
    h.container.advance(200);
    EXPECT_THAT(h.container.events(), ElementsAre("VideoEnd"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpoiledPicture,
    ::testing::Values(SpoiledRow{"missing file", Variant("gone.jpg"), false, false},
                      SpoiledRow{"file that is no picture", Variant("notes.jpg"), false, true},
                      SpoiledRow{"null ImageName", Variant::null(), false, false}));

// A cursor that cannot be moved ends the playback instead of leaving Timer2 off.
TEST(PictureTick, CursorThatCannotMoveEndsThePlayback) {
    for (const bool silent : {false, true}) {
        Harness h;
        declareRows(h, {"fine", Variant("p2.jpg"), true, false});
        if (silent)
            h.control.Ppreview();
        else
            h.control.fileOpen();
        h.engine.failNextMove(catalogue::errors::NoCurrentRecord);
        ASSERT_TRUE(h.runUntilVideoEnd(10000)) << "silent: " << silent;
        h.container.advance(1000);
        EXPECT_EQ(h.count("VideoEnd"), 1) << "silent: " << silent;
        EXPECT_FALSE(h.control.Timer2().enabled()) << "silent: " << silent;
        EXPECT_EQ(h.control.state().LastClip, True) << "silent: " << silent;
    }
}

// Timer2 enabled again after the playback has closed its cursor: the tick sends
// nothing, raises nothing and turns its timer off.
TEST(PictureTick, ClosedCursorDisablesTheTimerAndDoesNothing) {
    struct Ending {
        const char* what;
        std::function<void(Harness&)> end;
    };
    const std::vector<Ending> endings = {
        {"narrated playback ended",
         [](Harness& h) {
             h.control.fileOpen();
             ASSERT_TRUE(h.runUntilVideoEnd(10000));
         }},
        {"silent preview ended",
         [](Harness& h) {
             h.control.Ppreview();
             ASSERT_TRUE(h.runUntilVideoEnd(10000));
         }},
        {"narrated playback stopped",
         [](Harness& h) {
             h.control.fileOpen();
             h.container.advance(100);
             h.control.StopPlay();
         }},
    };
    for (const Ending& ending : endings) {
        Harness h;
        declareRows(h, {"fine", Variant("p2.jpg"), true, false});
        ending.end(h);
        h.container.clearRecords();
        h.commands.clear();
        const std::string shown = h.shown();

        h.control.Timer2().setEnabled(true);
        h.container.advance(1000);
        EXPECT_FALSE(h.control.Timer2().enabled()) << ending.what;
        EXPECT_THAT(h.commands.all(), IsEmpty()) << ending.what;
        EXPECT_THAT(h.container.records(), IsEmpty()) << ending.what;
        EXPECT_EQ(h.shown(), shown) << ending.what;
    }
}

TEST(PictureTick, TickBeforeAnyPlaybackDisablesItsTimer) {
    Harness h;
    h.control.Timer2().setEnabled(true);
    h.container.advance(100);
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THAT(h.commands.all(), IsEmpty());
}

TEST(PictureTick, StopPlayInsideCurAudioNosEndsThePicturePlayback) {
    Harness h;
    declareRows(h, {"fine", Variant("p2.jpg"), true, false});
    h.container.onEvent("CurAudioNos", [&] {
        if (h.count("CurAudioNos") == 2)
            h.control.StopPlay();
    });
    h.control.fileOpen();
    ASSERT_TRUE(h.container.runUntil([&] { return h.count("CurAudioNos") == 2; }, 10000));
    h.container.advance(5000);

    const std::vector<std::string> executed = h.executed();
    ASSERT_FALSE(executed.empty());
    EXPECT_EQ(executed.back(), "close all") << "nothing is opened or played after the stop";
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THAT(h.container.events(), ElementsAre("CurAudioNos", "CurAudioNos"));
    EXPECT_EQ(h.control.state().SoundStatus, "Stopped");
}

}  // namespace
}  // namespace tessaro::testing
