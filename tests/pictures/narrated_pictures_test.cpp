// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/kavo_video_sync_fields.h"
#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::string narrationName(int k) {
    return "talk" + std::to_string(k);
}

std::string pictureName(int k) {
    return "p" + std::to_string(k) + ".jpg";
}

double narrationLength(int k) {
    return 300 + 70 * k;
}

// A picture asana "Mountain" of the given rows, every file declared.
void declareMountain(Harness& h, int rows) {
    AsanaEntry asana{"Mountain", 7, "Photo", "", {}, {}};
    for (int k = 1; k <= rows; ++k) {
        asana.pictures.push_back({narrationName(k), pictureName(k)});
        h.declareNarration(narrationName(k), narrationLength(k));
        h.declarePicture(pictureName(k));
    }
    h.course.writeEverywhere({asana});
    h.name("Mountain");
}

std::string openCommand(const Harness& h, int k) {
    return "open " + h.narrationPath(narrationName(k)) + " alias Sound type mpegVideo";
}

class NarratedPictures : public ::testing::TestWithParam<int> {};

TEST_P(NarratedPictures, ShowsEachPictureBeforeItsNarrationAndEndsOnce) {
    const int rows = GetParam();
    Harness h;
    declareMountain(h, rows);
    std::vector<std::string> shownAtNarration;
    std::vector<double> audioNoAtNarration;
    h.container.onEvent("CurAudioNos", [&] {
        shownAtNarration.push_back(h.shown());
        audioNoAtNarration.push_back(h.control.state().AudioNo);
    });

    h.control.fileOpen();
    EXPECT_EQ(h.shown(), h.picturePath(pictureName(1)));
    EXPECT_EQ(h.control.Timer2().interval(), 10);
    EXPECT_TRUE(h.control.Timer2().enabled());
    ASSERT_TRUE(h.runUntilVideoEnd(60000));
    h.container.advance(3000);

    std::vector<std::string> expectedCommands = {"close all", openCommand(h, 1), "play sound"};
    std::vector<std::string> expectedShown = {""};
    std::vector<double> expectedAudioNo = {double(rows)};
    for (int k = 2; k <= rows; ++k) {
        expectedCommands.insert(expectedCommands.end(),
                                {"close sound", openCommand(h, k), "play sound"});
        expectedShown.push_back(h.picturePath(pictureName(k)));
        expectedAudioNo.push_back(rows + k - 1);
    }
    expectedCommands.push_back("close sound");
    EXPECT_THAT(h.executed(), ElementsAreArray(expectedCommands));
    EXPECT_THAT(shownAtNarration, ElementsAreArray(expectedShown));
    EXPECT_THAT(audioNoAtNarration, ElementsAreArray(expectedAudioNo));

    std::vector<std::string> expectedEvents(rows, "CurAudioNos");
    expectedEvents.push_back("VideoEnd");
    EXPECT_THAT(h.container.events(), ElementsAreArray(expectedEvents));
    EXPECT_THAT(h.mediaErrors, IsEmpty());

    const KavoVideoSyncFields& s = h.control.state();
    EXPECT_EQ(s.AudioNo, 2 * rows - 1);
    EXPECT_EQ(s.TotalRec, rows);
    EXPECT_EQ(s.LastClip, True);
    EXPECT_EQ(s.ClipStart, -10);
    EXPECT_EQ(s.SoundStatus, "Stopped");
    EXPECT_EQ(s.VideoMode, False);
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THROW(s.rs->eof(), Error) << "the rows' cursor is closed at the end";
}

TEST_P(NarratedPictures, NextPictureWaitsForTheNarrationToEnd) {
    const int rows = GetParam();
    Harness h;
    declareMountain(h, rows);
    h.control.fileOpen();
    ASSERT_TRUE(h.runUntilVideoEnd(60000));

    double spoken = 0;
    int narration = 0;
    for (const sim::HostRecord& r : h.container.records()) {
        if (r.kind != sim::HostRecord::Kind::Event)
            continue;
        EXPECT_GE(double(r.atMs), spoken)
            << r.text << " before narration " << narration << " had played to its end";
        ++narration;
        if (narration <= rows)
            spoken += narrationLength(narration);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, NarratedPictures, ::testing::Values(1, 2, 3, 6));

TEST(NarratedPictures, ThreePictureAsanaPlaysEndToEndWithItsExactCommands) {
    Harness h;
    declareMountain(h, 3);
    h.control.fileOpen();
    ASSERT_TRUE(h.runUntilVideoEnd(60000));
    const std::string r = h.course.resourcedir();
    EXPECT_THAT(
        h.executed(),
        ElementsAre("close all", "open " + r + "\\sound\\mp2\\talk1.mp2 alias Sound type mpegVideo",
                    "play sound", "close sound",
                    "open " + r + "\\sound\\mp2\\talk2.mp2 alias Sound type mpegVideo",
                    "play sound", "close sound",
                    "open " + r + "\\sound\\mp2\\talk3.mp2 alias Sound type mpegVideo",
                    "play sound", "close sound"));
    EXPECT_EQ(h.shown(), r + "\\video\\p3.jpg") << "the last picture stays";
    EXPECT_EQ(h.count("VideoEnd"), 1);
}

TEST(NarratedPictures, PollsTheNarrationEveryTenMillisecondsUntilItStops) {
    Harness h;
    declareMountain(h, 2);
    h.control.fileOpen();
    h.commands.clear();
    h.container.advance(100);
    EXPECT_EQ(h.commands.all(), std::vector<std::string>(10, "status sound mode"));
    EXPECT_EQ(h.shown(), h.picturePath(pictureName(1)));
}

// Rows found used up before the move: the narration that has just ended is heard once
// more, without a picture, and its end ends the playback.
TEST(NarratedPictures, ReplaysTheLastNarrationWhenTheRowsWereAlreadyUsedUp) {
    Harness h;
    declareMountain(h, 2);
    std::vector<std::string> shownAtNarration;
    h.container.onEvent("CurAudioNos", [&] { shownAtNarration.push_back(h.shown()); });
    h.control.fileOpen();
    ASSERT_TRUE(h.container.runUntil([&] { return h.count("CurAudioNos") == 2; }, 10000));
    h.engine.lastRecordset().moveNext();
    h.commands.clear();

    ASSERT_TRUE(h.runUntilVideoEnd(10000));
    EXPECT_THAT(h.executed(),
                ElementsAre("close sound", openCommand(h, 2), "play sound", "close sound"));
    EXPECT_THAT(shownAtNarration, ElementsAre("", h.picturePath(pictureName(2)), ""));
    EXPECT_EQ(h.control.state().AudioNo, 4);
    EXPECT_EQ(h.count("VideoEnd"), 1);
    EXPECT_FALSE(h.control.Timer2().enabled());
}

}  // namespace
}  // namespace tessaro::testing
