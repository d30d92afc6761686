// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "tests/media/media_fixture.h"

namespace tessaro::media::testing {
namespace {

class Playback : public ::testing::Test, public MediaFixture {};

TEST_F(Playback, ModesThroughPlayPauseEndAndClose) {
    ASSERT_TRUE(service->execute(OpenSound));
    EXPECT_EQ(status("sound", "mode"), "stopped");

    ASSERT_TRUE(service->execute("play sound"));
    EXPECT_EQ(status("sound", "mode"), "playing") << "play returns at once, playback runs on";
    advance(1000);
    EXPECT_EQ(status("sound", "position"), "1000");

    ASSERT_TRUE(service->execute("pause sound"));
    advance(500);
    EXPECT_EQ(status("sound", "mode"), "paused");
    EXPECT_EQ(status("sound", "position"), "1000") << "pause holds the position";

    ASSERT_TRUE(service->execute("resume sound"));
    advance(1999);
    EXPECT_EQ(status("sound", "mode"), "playing");
    advance(1);
    EXPECT_EQ(status("sound", "mode"), "stopped") << "played to its end";
    EXPECT_EQ(status("sound", "position"), "3000");

    ASSERT_TRUE(service->execute("close sound"));
    EXPECT_EQ(query("status sound mode").number, 263u);
}

TEST_F(Playback, PlayOnPausedDeviceContinuesWhereItWas) {
    ASSERT_TRUE(service->execute(OpenVideo));
    service->execute("play video");
    advance(400);
    service->execute("pause video");
    advance(10000);
    service->execute("play video");
    advance(100);
    EXPECT_EQ(status("video", "position"), "500");
}

TEST_F(Playback, StopHaltsWhereItIs) {
    ASSERT_TRUE(service->execute(OpenVideo));
    service->execute("play video");
    advance(700);
    ASSERT_TRUE(service->execute("stop video"));
    advance(300);
    EXPECT_EQ(status("video", "mode"), "stopped");
    EXPECT_EQ(status("video", "position"), "700");
}

TEST_F(Playback, ResumeOnlyContinuesAPausedDevice) {
    ASSERT_TRUE(service->execute(OpenVideo));
    ASSERT_TRUE(service->execute("resume video"));
    EXPECT_EQ(status("video", "mode"), "stopped");
}

TEST_F(Playback, PositionsInFramesCountFromFrameZero) {
    ASSERT_TRUE(service->execute(OpenVideo));
    ASSERT_TRUE(service->execute("set video time format frames"));
    service->execute("play video");
    const struct {
        std::int64_t atMs;
        const char* frame;
    } samples[] = {{0, "0"}, {39, "0"}, {40, "1"}, {79, "1"}, {1000, "25"}, {9999, "249"}};
    std::int64_t now = 0;
    for (const auto& sample : samples) {
        advance(sample.atMs - now);
        now = sample.atMs;
        EXPECT_EQ(status("video", "Position"), sample.frame) << "at " << sample.atMs << " ms";
    }
}

TEST_F(Playback, TimeFormatIsPerDeviceAndChangesTheReadingNotThePosition) {
    ASSERT_TRUE(service->execute(OpenVideo));
    ASSERT_TRUE(service->execute(OpenSound));
    ASSERT_TRUE(service->execute("set video time format frames"));
    service->execute("play video");
    service->execute("play sound");
    advance(2000);
    EXPECT_EQ(status("video", "position"), "50");
    EXPECT_EQ(status("sound", "position"), "2000");
    ASSERT_TRUE(service->execute("set video time format milliseconds"));
    EXPECT_EQ(status("video", "position"), "2000");
}

TEST_F(Playback, SeekInFramesLandsOnThatFrame) {
    ASSERT_TRUE(service->execute("open C:\\My Media\\clip one.mpg alias clip"));
    ASSERT_TRUE(service->execute("set clip time format frames"));
    for (const char* frame : {"1", "7", "33", "49"}) {
        ASSERT_TRUE(service->execute(std::string("seek clip to ") + frame));
        EXPECT_EQ(status("clip", "position"), frame);
    }
}

TEST_F(Playback, CloseAllClosesEveryDevice) {
    ASSERT_TRUE(service->execute(OpenVideo));
    ASSERT_TRUE(service->execute(OpenSound));
    ASSERT_TRUE(service->execute("open C:\\My Media\\clip one.mpg"));
    ASSERT_TRUE(service->execute("close all"));
    EXPECT_EQ(query("status video mode").number, 263u);
    EXPECT_EQ(query("status sound mode").number, 263u);
    EXPECT_EQ(query("status \"C:\\My Media\\clip one.mpg\" mode").number, 263u);
    EXPECT_TRUE(service->execute("CLOSE ALL")) << "with nothing open it still succeeds";
    EXPECT_TRUE(service->execute(OpenVideo)) << "aliases are free again";
}

TEST_F(Playback, PlayAtTheEndStaysStopped) {
    ASSERT_TRUE(service->execute(OpenSound));
    service->execute("play sound");
    advance(5000);
    ASSERT_TRUE(service->execute("play sound"));
    EXPECT_EQ(status("sound", "mode"), "stopped");
    EXPECT_EQ(status("sound", "position"), "3000");
}

TEST_F(Playback, DevicesPlayIndependently) {
    ASSERT_TRUE(service->execute(OpenVideo));
    ASSERT_TRUE(service->execute(OpenSound));
    service->execute("play video");
    advance(1000);
    service->execute("play sound");
    advance(2500);
    EXPECT_EQ(status("video", "position"), "3500");
    EXPECT_EQ(status("sound", "position"), "2500");
    EXPECT_EQ(status("sound", "mode"), "playing");
    advance(500);
    EXPECT_EQ(status("sound", "mode"), "stopped");
    EXPECT_EQ(status("video", "mode"), "playing");
}

}  // namespace
}  // namespace tessaro::media::testing
