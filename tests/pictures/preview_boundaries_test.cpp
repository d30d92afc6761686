// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/kavo_video_sync_fields.h"
#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;

AsanaEntry pictureAsana(const std::string& name, int id, const std::string& prefix) {
    return {name, id, "Photo", "", {{"talk1", prefix + "1.jpg"}, {"talk2", prefix + "2.jpg"}}, {}};
}

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

// A narrated picture playback under way: Timer2 running, narration playing.
void startNarratedPlayback(Harness& h) {
    h.declarePicture("a1.jpg");
    h.declarePicture("a2.jpg");
    h.declareNarration("talk1", 5000);
    h.declareNarration("talk2", 5000);
    h.name("Lotus");
    h.control.fileOpen();
    h.container.advance(50);
    h.commands.clear();
    h.container.clearRecords();
}

// Any display type but "PHOTO" in some letter case is previewed as a video; the preview
// leaves the picture playback's timer, fields and picture as they were.
class VideoPreviewOverPictures : public ::testing::TestWithParam<const char*> {};

TEST_P(VideoPreviewOverPictures, OpensTheVideoAndLeavesThePicturePlaybackState) {
    Harness h;
    AsanaEntry warrior{"Warrior", 3, GetParam(), "warrior.mpg", {}, {}};
    h.course.writeEverywhere({pictureAsana("Lotus", 1, "a"), warrior});
    h.declareVideo("warrior.mpg", 1500);
    startNarratedPlayback(h);
    const KavoVideoSyncFields before = h.control.state();

    h.control.AsanaNaME("Warrior");
    EXPECT_TRUE(h.control.Preview().isEmpty());
    EXPECT_THAT(h.executed(),
                ElementsAre("close all", h.videoOpenCommand("warrior.mpg"), "play video"));
    const KavoVideoSyncFields& s = h.control.state();
    EXPECT_TRUE(h.control.Timer2().enabled());
    EXPECT_EQ(h.control.Timer2().interval(), 10);
    EXPECT_TRUE(h.control.Timer1().enabled());
    EXPECT_EQ(h.shown(), h.picturePath("a1.jpg"));
    EXPECT_EQ(s.VideoPreview, True);
    EXPECT_EQ(s.AudioNo, before.AudioNo);
    EXPECT_EQ(s.TotalRec, before.TotalRec);
    EXPECT_EQ(s.PhotoPreview, before.PhotoPreview);
    EXPECT_EQ(s.VideoMode, before.VideoMode);
    EXPECT_EQ(s.VideoStatus, before.VideoStatus);
    EXPECT_EQ(s.SoundStatus, "Playing");
    EXPECT_EQ(s.ClipFile, before.ClipFile);
    EXPECT_EQ(s.ClipAction, before.ClipAction);
}

INSTANTIATE_TEST_SUITE_P(DisplayTypes, VideoPreviewOverPictures,
                         ::testing::Values("Video", "Photos", "PHOT", "Slides"));

// Steps done before the catalogue open stay done; the handles stay those of the lookup.
TEST(Ppreview, MissingLibraryCatalogueFailsAfterSwitchingToSilentMode) {
    Harness h;
    h.course.writeCatalogue(h.course.resourcedir() + "\\hotspots\\VUDuzu.mdb",
                            {pictureAsana("Lotus", 1, "a")});
    h.declarePicture("a1.jpg");
    h.declarePicture("a2.jpg");
    h.declareNarration("talk1", 100);
    h.declareNarration("talk2", 100);
    h.name("Lotus");
    h.control.fileOpen();
    ASSERT_TRUE(h.runUntilVideoEnd(5000));
    ASSERT_EQ(h.control.state().LastClip, True);
    const auto db = h.control.state().db;
    const auto rs = h.control.state().rs;
    h.commands.clear();

    EXPECT_EQ(errorOf([&] { h.control.Ppreview(); }), catalogue::errors::FileNotFound);
    const KavoVideoSyncFields& s = h.control.state();
    EXPECT_EQ(s.PhotoPreview, True);
    EXPECT_EQ(s.LastClip, False);
    EXPECT_EQ(h.control.Timer2().interval(), 200);
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_EQ(s.db, db);
    EXPECT_EQ(s.rs, rs);
    EXPECT_THAT(h.commands.all(), ElementsAre("close all"));
}

// The failing picture load ends InitAudio and Ppreview with it: the former picture stays,
// the new row is loaded, and Timer2 is not started.
TEST(Ppreview, MissingFirstPictureFailsWithTheLoadersNumberAndKeepsTheFormerPicture) {
    Harness h;
    h.course.writeEverywhere({pictureAsana("Lotus", 1, "a"), pictureAsana("Crane", 2, "c")});
    h.declarePicture("a1.jpg");
    h.declarePicture("a2.jpg");
    h.name("Lotus");
    h.control.Ppreview();
    ASSERT_TRUE(h.runUntilVideoEnd(5000));
    ASSERT_FALSE(h.control.Timer2().enabled());

    h.control.AsanaNaME("Crane");
    EXPECT_EQ(errorOf([&] { h.control.Ppreview(); }), host::errors::FileNotFound);
    EXPECT_EQ(h.shown(), h.picturePath("a2.jpg"));
    EXPECT_EQ(h.control.state().ClipFile, "talk1");
    EXPECT_EQ(h.control.state().ClipAction, "c1.jpg");
    EXPECT_FALSE(h.control.Timer2().enabled());
}

// The picture preview over a video playback closes the video but leaves Timer1 and the
// fields it does not own.
TEST(Ppreview, OverAVideoPlaybackLeavesTimer1AndTheCountsAlone) {
    Harness h;
    AsanaEntry warrior{"Warrior", 3, "Video", "warrior.mpg", {}, {{"intro", 0}, {"outro", 20}}};
    h.course.writeEverywhere({warrior, pictureAsana("Lotus", 1, "a")});
    h.declareVideo("warrior.mpg", 5000);
    h.declareNarration("intro", 3000);
    h.declareNarration("outro", 3000);
    h.declarePicture("a1.jpg");
    h.declarePicture("a2.jpg");
    h.name("Warrior");
    h.control.fileOpen();
    h.container.advance(100);
    ASSERT_TRUE(h.control.Timer1().enabled());
    const KavoVideoSyncFields before = h.control.state();
    h.commands.clear();

    h.control.AsanaNaME("Lotus");
    EXPECT_TRUE(h.control.Ppreview().isEmpty());
    const KavoVideoSyncFields& s = h.control.state();
    EXPECT_TRUE(h.control.Timer1().enabled());
    EXPECT_TRUE(h.control.Timer2().enabled());
    EXPECT_EQ(h.control.Timer2().interval(), 200);
    EXPECT_EQ(s.AudioNo, before.AudioNo);
    EXPECT_EQ(s.TotalRec, before.TotalRec);
    EXPECT_EQ(s.VideoPreview, before.VideoPreview);
    EXPECT_EQ(s.SoundStatus, "Playing");
    EXPECT_EQ(s.VideoStatus, "");
    EXPECT_EQ(s.VideoMode, False);
    EXPECT_EQ(h.shown(), h.picturePath("a1.jpg"));
    EXPECT_THAT(h.executed(), ElementsAre("close all"));
}

// The running playback's devices are closed and its Timer1 goes on with the preview's
// wait for the video's end; the clip table is not read again.
TEST(Preview, OverAVideoPlaybackTurnsItsTimer1IntoThePreviewWait) {
    Harness h;
    AsanaEntry warrior{"Warrior", 3, "Video", "warrior.mpg", {}, {{"intro", 0}, {"outro", 20}}};
    AsanaEntry tree{"Tree", 4, "Video", "tree.mpg", {}, {{"breathe", 0}}};
    h.course.writeEverywhere({warrior, tree});
    h.declareVideo("warrior.mpg", 5000);
    h.declareVideo("tree.mpg", 800);
    h.declareNarration("intro", 3000);
    h.declareNarration("outro", 3000);
    h.name("Warrior");
    h.control.fileOpen();
    h.container.advance(100);
    const KavoVideoSyncFields before = h.control.state();
    h.commands.clear();
    h.container.clearRecords();

    h.control.AsanaNaME("Tree");
    h.control.Preview();
    EXPECT_THAT(h.executed(),
                ElementsAre("close all", h.videoOpenCommand("tree.mpg"), "play video"));
    EXPECT_EQ(h.control.state().VideoPreview, True);
    EXPECT_EQ(h.control.state().VideoMode, True);
    EXPECT_EQ(h.control.state().AudioNo, before.AudioNo);
    EXPECT_EQ(h.control.state().TotalRec, before.TotalRec);
    EXPECT_EQ(h.control.state().ClipFile, before.ClipFile);
    EXPECT_TRUE(h.control.Timer1().enabled());

    ASSERT_TRUE(h.runUntilVideoEnd(3000));
    h.container.advance(1000);
    EXPECT_THAT(h.container.events(), ElementsAre("VideoEnd"));
    EXPECT_FALSE(h.control.Timer1().enabled());
    for (const std::string& command : h.executed())
        EXPECT_FALSE(command.ends_with("alias Sound type mpegVideo")) << command;
}

}  // namespace
}  // namespace tessaro::testing
