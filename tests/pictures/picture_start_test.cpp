// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/kavo_video_sync_fields.h"
#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

AsanaEntry threePictures(const std::string& name, int id) {
    return {name, id, "Photo", "", {{"talk1", "p1.jpg"}, {"talk2", "p2.jpg"}, {"talk3", "p3.jpg"}},
            {}};
}

void declareThree(Harness& h) {
    for (int k = 1; k <= 3; ++k) {
        h.declareNarration("talk" + std::to_string(k), 400);
        h.declarePicture("p" + std::to_string(k) + ".jpg");
    }
}

// What stops the picture start before its narration: nothing is played and Timer2 is
// not started, but the lookup has already told the host of the first narration.
TEST(InitAudio, StopsAtTheFirstFailingStepWithoutStartingAnything) {
    struct Case {
        const char* what;
        AsanaEntry asana;
        bool declareFirstPicture;
    };
    const std::vector<Case> cases = {
        {"first picture missing", threePictures("Plough", 5), false},
        {"no picture rows", {"Plough", 5, "Photo", "", {}, {}}, true},
        {"null Mp2name", {"Plough", 5, "Photo", "", {{Variant::null(), "p1.jpg"}}, {}}, true},
    };
    for (const Case& c : cases) {
        Harness h;
        h.course.writeEverywhere({c.asana});
        if (c.declareFirstPicture)
            h.declarePicture("p1.jpg");
        h.declareNarration("talk1", 400);
        h.name("Plough");

        h.control.fileOpen();
        h.container.advance(2000);
        EXPECT_THAT(h.executed(), ElementsAre("close all")) << c.what;
        EXPECT_FALSE(h.control.Timer2().enabled()) << c.what;
        EXPECT_EQ(h.shown(), "") << c.what;
        EXPECT_THAT(h.container.events(), ElementsAre("CurAudioNos")) << c.what;
        EXPECT_EQ(h.control.state().SoundStatus, "") << c.what;
    }
}

TEST(InitAudio, PicturePlaybackAfterAVideoPlaybackIsNoVideoPlayback) {
    Harness h;
    AsanaEntry video{"Warrior", 3, "Video", "warrior.mpg", {}, {{"intro", 0}}};
    h.course.writeEverywhere({video, threePictures("Camel", 4)});
    h.declareVideo("warrior.mpg", 1000);
    h.declareNarration("intro", 300);
    declareThree(h);
    h.name("Warrior");
    h.control.fileOpen();
    h.container.advance(100);
    ASSERT_EQ(h.control.state().VideoMode, True);

    h.control.AsanaNaME("Camel");
    h.control.fileOpen();
    EXPECT_EQ(h.control.state().VideoMode, False);
    EXPECT_EQ(h.control.state().VideoStatus, "");
    EXPECT_EQ(h.control.state().SoundStatus, "Playing");
    EXPECT_EQ(h.control.state().ClipFile, "talk1");
    EXPECT_EQ(h.control.state().ClipAction, "p1.jpg");
}

// PhotoPreview outlives the lookup it came from: InitAudio called by the host during a
// picture preview starts the silent run again from its first picture.
TEST(InitAudio, CalledDuringAPicturePreviewRestartsItSilently) {
    Harness h;
    h.course.writeEverywhere({threePictures("Camel", 4)});
    declareThree(h);
    h.name("Camel");
    h.control.Ppreview();
    h.container.advance(200);
    ASSERT_EQ(h.shown(), h.picturePath("p2.jpg"));

    h.control.InitAudio();
    EXPECT_EQ(h.shown(), h.picturePath("p1.jpg"));
    EXPECT_EQ(h.control.Timer2().interval(), 200);
    h.container.advance(400);
    EXPECT_EQ(h.shown(), h.picturePath("p3.jpg"));
    EXPECT_EQ(h.count("VideoEnd"), 0);
    ASSERT_TRUE(h.runUntilVideoEnd(1000));
    EXPECT_THAT(h.commands.all(), ElementsAre("close all"));
    EXPECT_THAT(h.mediaErrors, IsEmpty());
}

}  // namespace
}  // namespace tessaro::testing
