// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void declareThreeRows(Harness& h) {
    AsanaEntry asana{"Camel", 4, "Photo", "", {}, {}};
    asana.pictures = {{"talk1", "p1.jpg"}, {"talk2", "p2.jpg"}, {"talk3", "p3.jpg"}};
    h.course.writeEverywhere({asana});
    for (int k = 1; k <= 3; ++k) {
        h.declareNarration("talk" + std::to_string(k), 500);
        h.declarePicture("p" + std::to_string(k) + ".jpg");
    }
    h.name("Camel");
}

TEST(PictureTransport, PauseHoldsTheNarrationAndPictureUntilStart) {
    Harness h;
    declareThreeRows(h);
    h.control.fileOpen();
    ASSERT_TRUE(h.container.runUntil([&] { return h.count("CurAudioNos") == 2; }, 10000));
    h.container.advance(100);
    h.commands.clear();

    EXPECT_TRUE(h.control.Pause().isEmpty());
    EXPECT_THAT(h.executed(), ElementsAre("pause sound"));
    EXPECT_FALSE(h.control.Timer2().enabled());
    h.container.advance(5000);
    EXPECT_EQ(h.count("CurAudioNos"), 2);
    EXPECT_EQ(h.shown(), h.picturePath("p2.jpg"));
    EXPECT_THAT(h.commands.all(), ElementsAre("pause sound")) << "no tick while paused";

    h.commands.clear();
    EXPECT_TRUE(h.control.Start().isEmpty());
    EXPECT_THAT(h.executed(), ElementsAre("play sound"));
    EXPECT_TRUE(h.control.Timer2().enabled());
    EXPECT_FALSE(h.control.Timer1().enabled());
    ASSERT_TRUE(h.runUntilVideoEnd(10000));
    EXPECT_THAT(h.container.events(),
                ElementsAre("CurAudioNos", "CurAudioNos", "CurAudioNos", "VideoEnd"));
    EXPECT_THAT(h.mediaErrors, IsEmpty());
}

TEST(PictureTransport, StopPlayEndsThePlaybackWithoutVideoEnd) {
    Harness h;
    declareThreeRows(h);
    h.control.fileOpen();
    h.container.advance(200);
    h.commands.clear();

    EXPECT_TRUE(h.control.StopPlay().isEmpty());
    h.container.advance(5000);
    EXPECT_THAT(h.executed(), ElementsAre("close all"));
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THAT(h.container.events(), ElementsAre("CurAudioNos"));
    EXPECT_EQ(h.shown(), h.picturePath("p1.jpg"));
}

TEST(PictureTransport, SilentPreviewPausesAndResumesByItsTimerAlone) {
    Harness h;
    declareThreeRows(h);
    h.control.Ppreview();
    h.container.advance(200);
    h.commands.clear();

    h.control.Pause();
    h.container.advance(1000);
    EXPECT_EQ(h.shown(), h.picturePath("p2.jpg"));
    h.control.Start();
    EXPECT_TRUE(h.control.Timer2().enabled());
    h.container.advance(200);
    EXPECT_EQ(h.shown(), h.picturePath("p3.jpg"));
    ASSERT_TRUE(h.runUntilVideoEnd(1000));
    EXPECT_THAT(h.commands.all(), IsEmpty());
}

}  // namespace
}  // namespace tessaro::testing
