// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/media/media_fixture.h"

namespace tessaro::media::testing {
namespace {

class Forecast : public ::testing::Test, public MediaFixture {
  protected:
    // The video playing in frames (40 ms each) and the clip playing, both since 0 ms.
    void playBoth() {
        service->execute(OpenVideo);
        service->execute("set video time format frames");
        service->execute(OpenSound);
        service->execute("play video");
        service->execute("play sound");
    }
};

TEST_F(Forecast, FromThePlayingDevicesAsTheyPlayOn) {
    playBoth();
    advance(1000);
    EXPECT_EQ(service->msUntilStopped("video"), VideoLengthMs - 1000);
    EXPECT_EQ(service->msUntilStopped("SOUND"), SoundLengthMs - 1000) << "aliases are case-blind";

    struct Case {
        double frame;
        std::optional<double> ms;
        const char* why;
    };
    const std::vector<Case> cases = {
        {50, 1000, "frame 50 is shown from 2000 ms on"},
        {25, 0, "reached just now"},
        {10, 0, "passed already"},
        {49.5, 1000, "a position between frames is read from the next one"},
        {250, 9000, "the last frame's end"},
        {251, std::nullopt, "past the end: the video stops before it"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(service->msUntilPosition("video", c.frame), c.ms) << c.why;
}

TEST_F(Forecast, NothingForDevicesThatCannotChangeOnTheirOwn) {
    EXPECT_EQ(service->msUntilStopped("video"), std::nullopt) << "not open";
    playBoth();
    service->execute("pause video");
    EXPECT_EQ(service->msUntilStopped("video"), std::nullopt) << "paused";
    EXPECT_EQ(service->msUntilPosition("video", 100), std::nullopt) << "paused";
    EXPECT_EQ(status("sound", "mode"), "playing");
    advance(SoundLengthMs);
    EXPECT_EQ(service->msUntilStopped("sound"), 0) << "ended, and not seen so yet";
    EXPECT_EQ(status("sound", "mode"), "stopped");
    EXPECT_EQ(service->msUntilStopped("sound"), std::nullopt) << "ended, and seen so";
    service->execute("close all");
    EXPECT_EQ(query("status video mode").number, errors::DeviceNotOpen);
    EXPECT_EQ(service->msUntilPosition("video", 0), std::nullopt) << "closed";
    EXPECT_EQ(service->lastOutcome().number, errors::DeviceNotOpen) << "a forecast is no command";
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace tessaro::media::testing
