// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/kavo_video_sync_fields.h"
#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

void writeRows(Harness& h, int rows) {
    AsanaEntry asana{"Heron", 6, "Photo", "", {}, {}};
    for (int k = 1; k <= rows; ++k) {
        const std::string n = std::to_string(k);
        asana.pictures.push_back({"talk" + n, "p" + n + ".jpg"});
        h.declarePicture("p" + n + ".jpg");
    }
    h.course.writeEverywhere({asana});
    h.name("Heron");
}

// The failed open is reported by the service and the start goes on; the status of a
// device that was never opened never reads stopped, so the first picture stays.
TEST(InitAudio, MissingNarrationStillStartsTheLoopAndKeepsTheFirstPicture) {
    Harness h;
    writeRows(h, 2);
    h.control.fileOpen();
    EXPECT_THAT(
        h.executed(),
        ElementsAre("close all", "open " + h.narrationPath("talk1") + " alias Sound type mpegVideo",
                    "play sound"));
    EXPECT_THAT(h.mediaErrors, SizeIs(2));
    EXPECT_EQ(h.control.state().SoundStatus, "Playing");
    EXPECT_TRUE(h.control.Timer2().enabled());

    h.container.advance(2000);
    EXPECT_EQ(h.shown(), h.picturePath("p1.jpg"));
    EXPECT_THAT(h.container.events(), ElementsAre("CurAudioNos"));
    EXPECT_TRUE(h.control.Timer2().enabled());
}

// Rows found used up by a silent tick: the preview is closed without an event and with
// Timer2 left on; the tick after it finds the cursor closed and turns Timer2 off.
TEST(PictureTick, SilentTickFindingTheRowsUsedUpClosesWithoutAnEvent) {
    Harness h;
    writeRows(h, 2);
    h.control.Ppreview();
    h.engine.lastRecordset().moveNext();
    h.engine.lastRecordset().moveNext();
    h.container.clearRecords();

    h.container.advance(200);
    const KavoVideoSyncFields& s = h.control.state();
    EXPECT_EQ(h.shown(), "");
    EXPECT_EQ(s.LastClip, True);
    EXPECT_EQ(s.ClipStart, -10);
    EXPECT_THROW(s.rs->eof(), Error);
    EXPECT_TRUE(h.control.Timer2().enabled());
    EXPECT_THAT(h.container.records(), IsEmpty());

    h.container.advance(200);
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THAT(h.container.records(), IsEmpty());
    EXPECT_THAT(h.commands.all(), ElementsAre("close all"));
}

}  // namespace
}  // namespace tessaro::testing
