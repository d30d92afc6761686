// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void declareRows(Harness& h, const std::string& asanaName, int rows) {
    AsanaEntry asana{asanaName, 4, "Photo", "", {}, {}};
    for (int k = 1; k <= rows; ++k) {
        const std::string n = std::to_string(k);
        asana.pictures.push_back({"talk" + n, "p" + n + ".jpg"});
        h.declareNarration("talk" + n, 300);
        h.declarePicture("p" + n + ".jpg");
    }
    h.course.writeEverywhere({asana});
    h.name(asanaName);
}

std::string openCommand(const Harness& h, const std::string& narration) {
    return "open " + h.narrationPath(narration) + " alias Sound type mpegVideo";
}

// A Timer2 left running by an earlier playback falls due at the chosen points inside
// InitAudio; each of its ticks shows up as a status query in the command trace. The tick
// in the second yield finds the narration opened but not yet played, reads "stopped" and
// moves on to the next row before InitAudio plays.
TEST(InitAudio, LetsPendingTicksRunAfterThePictureAndAgainAfterTheNarrationOpen) {
    Harness h;
    declareRows(h, "Boat", 2);
    h.container.onEvent("CurAudioNos", [&] {
        if (h.count("CurAudioNos") > 1)
            return;
        h.control.Timer2().setEnabled(true);
        h.clock.advanceTo(h.clock.nowMs() + 10);
    });
    std::vector<std::string> shownAtQuery;
    h.hooked.beforeCommand = [&](std::string_view command) {
        if (command == openCommand(h, "talk1"))
            h.clock.advanceTo(h.clock.nowMs() + 10);
        if (command == "status sound mode")
            shownAtQuery.push_back(h.shown());
    };

    h.control.fileOpen();
    EXPECT_THAT(
        h.commands.all(),
        ElementsAre("close all", "status sound mode", openCommand(h, "talk1"), "status sound mode",
                    "close sound", openCommand(h, "talk2"), "play sound", "play sound"));
    EXPECT_THAT(shownAtQuery, ElementsAre(h.picturePath("p1.jpg"), h.picturePath("p1.jpg")));
    EXPECT_EQ(h.shown(), h.picturePath("p2.jpg"));
}

// The tick that runs in the one yield of a silent start moves on from the picture the
// start has just shown.
TEST(InitAudio, SilentStartYieldsOnceAfterShowingThePicture) {
    Harness h;
    declareRows(h, "Boat", 3);
    h.control.Timer2().setEnabled(true);
    h.hooked.beforeCommand = [&](std::string_view command) {
        if (command == "close all")
            h.clock.advanceTo(h.clock.nowMs() + 200);
    };
    h.control.Ppreview();
    EXPECT_EQ(h.shown(), h.picturePath("p2.jpg"));
    EXPECT_THAT(h.commands.all(), ElementsAre("close all"));
}

struct EventMoment {
    std::string event;
    bool timer2Enabled;
    std::string lastExecuted;
    std::string shown;
    bool operator==(const EventMoment&) const = default;
};

void PrintTo(const EventMoment& m, std::ostream* out) {
    *out << m.event << " timer2=" << m.timer2Enabled << " last=" << m.lastExecuted
         << " shown=" << m.shown;
}

std::vector<EventMoment>& watchEvents(Harness& h, std::vector<EventMoment>& moments) {
    for (const char* event : {"CurAudioNos", "VideoEnd"})
        h.container.onEvent(event, [&h, &moments, event] {
            const std::vector<std::string> executed = h.executed();
            moments.push_back({event, h.control.Timer2().enabled(),
                               executed.empty() ? "" : executed.back(), h.shown()});
        });
    return moments;
}

// The host handles each narration's start with Timer2 off and before the narration is
// opened, and learns of the end with Timer2 already off.
TEST(PictureTick, NarratedEventsFindTimer2OffAndTheNextNarrationNotYetOpened) {
    Harness h;
    declareRows(h, "Boat", 3);
    h.control.fileOpen();
    h.container.clearRecords();
    std::vector<EventMoment> moments;
    watchEvents(h, moments);
    ASSERT_TRUE(h.runUntilVideoEnd(10000));
    EXPECT_THAT(
        moments,
        ElementsAre(EventMoment{"CurAudioNos", false, "close sound", h.picturePath("p2.jpg")},
                    EventMoment{"CurAudioNos", false, "close sound", h.picturePath("p3.jpg")},
                    EventMoment{"VideoEnd", false, "close sound", h.picturePath("p3.jpg")}));
}

TEST(PictureTick, ReplayedNarrationIsAnnouncedWithTimer2OffAndNoPicture) {
    Harness h;
    declareRows(h, "Boat", 2);
    h.control.fileOpen();
    ASSERT_TRUE(h.container.runUntil([&] { return h.count("CurAudioNos") == 2; }, 10000));
    h.engine.lastRecordset().moveNext();
    std::vector<EventMoment> moments;
    watchEvents(h, moments);
    ASSERT_TRUE(h.runUntilVideoEnd(10000));
    EXPECT_THAT(moments, ElementsAre(EventMoment{"CurAudioNos", false, "close sound", ""},
                                     EventMoment{"VideoEnd", false, "close sound", ""}));
}

// In a silent preview the end is told while Timer2 still runs; it is off afterwards.
TEST(PictureTick, SilentPreviewTellsItsEndBeforeTurningTimer2Off) {
    Harness h;
    declareRows(h, "Boat", 2);
    std::vector<EventMoment> moments;
    watchEvents(h, moments);
    h.control.Ppreview();
    ASSERT_TRUE(h.runUntilVideoEnd(10000));
    EXPECT_THAT(moments,
                ElementsAre(EventMoment{"VideoEnd", true, "close all", h.picturePath("p2.jpg")}));
    EXPECT_FALSE(h.control.Timer2().enabled());
}

// A playback stopped while it replays its last narration has closed its cursor and
// devices: a later tick has nothing to poll.
TEST(PictureTick, StoppedReplayLeavesNothingForALaterTick) {
    Harness h;
    declareRows(h, "Boat", 2);
    h.control.fileOpen();
    ASSERT_TRUE(h.container.runUntil([&] { return h.count("CurAudioNos") == 2; }, 10000));
    h.engine.lastRecordset().moveNext();
    ASSERT_TRUE(h.container.runUntil([&] { return h.count("CurAudioNos") == 3; }, 10000));
    h.control.StopPlay();
    h.commands.clear();
    h.container.clearRecords();

    h.control.Timer2().setEnabled(true);
    h.container.advance(1000);
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THAT(h.commands.all(), IsEmpty());
    EXPECT_THAT(h.container.records(), IsEmpty());
}

}  // namespace
}  // namespace tessaro::testing
