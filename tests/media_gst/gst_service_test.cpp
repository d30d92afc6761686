// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/media/gst/gst_backend.h"
#include "tests/media_gst/recording_surface.h"
#include "tests/media_gst/service_queries.h"
#include "tests/media_gst/test_media.h"

namespace tessaro::media {
namespace {

using testing::RegisteredSurface;
using testing::ScopedVariable;
using testing::TestMedia;
using testing::waitUntil;

constexpr std::intptr_t pictureBox = 5150;

// The path as the control builds it: backslashes between the components.
std::string windowsStyle(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The commands exactly as the control sends them, to an interpreter over GStreamer.
class GstServiceTest : public ::testing::Test {
  protected:
    GstServiceTest() {
        service.setErrorReporter(
            [this](const std::string& message) { reports.push_back(message); });
    }

    bool openVideo() {
        return service.execute("open " + windowsStyle(media.video()) +
                               "  alias video type mpegVideo  style child parent  " +
                               std::to_string(pictureBox)) &&
               service.execute("set video time format frames");
    }
    bool openSound(const std::string& path) {
        return service.execute("open " + windowsStyle(path) + " alias Sound type mpegVideo");
    }

    std::string mode(const std::string& device) { return testing::modeOf(service, device); }
    double position(const std::string& device) { return testing::positionOf(service, device); }

    TestMedia media;
    Interpreter service{makeGstBackend()};
    std::vector<std::string> reports;
};

TEST_F(GstServiceTest, VideoCountsFramesFromZeroWhileItPlaysAndHoldsThemWhenPaused) {
    ASSERT_TRUE(openVideo());
    EXPECT_EQ(mode("video"), "STOPPED");
    EXPECT_EQ(position("video"), 0);

    ASSERT_TRUE(service.execute("play video"));
    EXPECT_EQ(mode("video"), "PLAYING");
    ASSERT_TRUE(waitUntil([&] { return position("video") >= 3; }));
    ASSERT_TRUE(service.execute("pause video"));
    EXPECT_EQ(mode("video"), "PAUSED");
    const double held = position("video");
    testing::sleepFor(std::chrono::milliseconds(120));
    EXPECT_EQ(position("video"), held);
    EXPECT_TRUE(reports.empty());
}

TEST_F(GstServiceTest, VideoAndNarrationPlayTogetherToTheirEnds) {
    ASSERT_TRUE(openVideo());
    ASSERT_TRUE(openSound(media.narration()));
    ASSERT_TRUE(service.execute("play video"));
    ASSERT_TRUE(service.execute("play sound"));

    ASSERT_TRUE(waitUntil([&] { return mode("sound") == "STOPPED"; }));
    EXPECT_EQ(mode("video"), "PLAYING");
    ASSERT_TRUE(service.execute("close sound"));
    ASSERT_TRUE(waitUntil([&] { return mode("video") == "STOPPED"; }));
    EXPECT_NEAR(position("video"), TestMedia::videoSeconds * TestMedia::videoFrameRate, 1);
    EXPECT_TRUE(reports.empty());
}

// The host that sleeps on the forecast is woken by the video's end, found on a streaming
// thread, without asking.
TEST_F(GstServiceTest, TheForecastFollowsTheDevicesAndTheVideosEndWakesTheHost) {
    std::atomic<int> wakes = 0;
    const int wake = service.wakeOnUnforeseenChange([&] { ++wakes; });
    ASSERT_TRUE(openVideo());
    ASSERT_TRUE(openSound(media.narration()));
    EXPECT_EQ(service.msUntilStopped("video"), std::nullopt) << "not playing";
    ASSERT_TRUE(service.execute("play video"));
    ASSERT_TRUE(service.execute("play sound"));

    const double narrationMs = TestMedia::narrationSeconds * 1000;
    EXPECT_GT(service.msUntilStopped("sound").value_or(0), 0);
    EXPECT_LE(service.msUntilStopped("sound").value_or(0), narrationMs + 30) << "its length";
    const double frameMs = 1000.0 / TestMedia::videoFrameRate;
    const std::optional<double> untilFrame = service.msUntilPosition("video", 25);
    ASSERT_TRUE(untilFrame.has_value());
    EXPECT_LE(*untilFrame, 25 * frameMs);

    ASSERT_TRUE(waitUntil([&] { return wakes > 0; }));
    EXPECT_EQ(mode("video"), "STOPPED");
    service.forgetWake(wake);
    EXPECT_TRUE(reports.empty());
}

TEST_F(GstServiceTest, CloseAllClosesEveryDeviceAndClearsThePictureBox) {
    RegisteredSurface surface(pictureBox);
    ASSERT_TRUE(openVideo());
    ASSERT_TRUE(openSound(media.narration()));
    ASSERT_TRUE(waitUntil([&] { return surface.seen().frames >= 1; }));

    ASSERT_TRUE(service.execute("close all"));
    EXPECT_EQ(surface.seen().clears, 1);
    EXPECT_EQ(mode("video"), "");
    EXPECT_EQ(mode("sound"), "");
    EXPECT_TRUE(openVideo());
    EXPECT_TRUE(openSound(media.narration()));
}

// Every call on the failed device succeeds and reads it stopped where it failed; the
// failure is reported once, here by the query that found it.
TEST_F(GstServiceTest, VideoFailingWhilePlayingStopsAndIsReportedOnce) {
    {
        const ScopedVariable sink("TESSARO_VIDEO_SINK",
                                  "identity error-after=5 ! fakesink sync=true");
        ASSERT_TRUE(openVideo());
    }
    ASSERT_TRUE(service.execute("play video"));
    ASSERT_TRUE(waitUntil([&] { return mode("video") == "STOPPED"; }));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("play video: cannot go on playing " + media.video(), 0), 0u)
        << reports[0];
    EXPECT_NE(reports[0].find("(media error 296)"), std::string::npos) << reports[0];

    const double stoppedAt = position("video");
    EXPECT_LT(stoppedAt, 10);
    EXPECT_TRUE(service.execute("play video"));
    EXPECT_TRUE(service.execute("pause video"));
    EXPECT_EQ(position("video"), stoppedAt);
    EXPECT_EQ(reports.size(), 1u);
}

struct BadClip {
    const char* name;
    std::string (*file)(TestMedia&);
    int number;
    friend void PrintTo(const BadClip& clip, std::ostream* out) { *out << clip.name; }
};

class GstServiceBadClipTest : public GstServiceTest,
                              public ::testing::WithParamInterface<BadClip> {};

TEST_P(GstServiceBadClipTest, FailedOpenIsReportedOnceAndLeavesTheAliasFree) {
    EXPECT_FALSE(openSound(GetParam().file(media)));
    EXPECT_EQ(service.lastOutcome().number, GetParam().number);
    EXPECT_FALSE(service.execute("play sound"));
    EXPECT_FALSE(service.execute("play sound"));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].find(std::to_string(GetParam().number)), std::string::npos) << reports[0];

    EXPECT_TRUE(openSound(media.narration()));
    EXPECT_EQ(mode("sound"), "STOPPED");
}

INSTANTIATE_TEST_SUITE_P(
    Files, GstServiceBadClipTest,
    ::testing::Values(BadClip{"Missing", [](TestMedia& m) { return m.missing(); },
                              errors::FileNotFound},
                      BadClip{"RandomBytes", [](TestMedia& m) { return std::string(m.corrupt()); },
                              errors::InvalidFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GstProcessServiceTest, OneServiceServesTheWholeProcess) {
    TestMedia media;
    Interpreter& service = processMediaService();
    EXPECT_EQ(&service, &processMediaService());
    EXPECT_TRUE(service.execute("open " + media.narration() + " alias Sound type mpegVideo"));
    EXPECT_TRUE(processMediaService().execute("play sound"));
    EXPECT_TRUE(service.execute("close all"));
}

}  // namespace
}  // namespace tessaro::media
