// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <tessaro/error.h>
#include "platform/media/gst/gst_backend.h"
#include "tests/media_gst/recording_surface.h"
#include "tests/media_gst/test_media.h"

namespace tessaro::media {
namespace {

using namespace std::chrono_literals;
using testing::RegisteredSurface;
using testing::ScopedVariable;
using testing::sleepFor;
using testing::TestMedia;
using testing::waitUntil;

constexpr double frameMs = 1000.0 / TestMedia::videoFrameRate;

class GstBackendTest : public ::testing::Test {
  protected:
    std::unique_ptr<Player> open(const std::string& path, std::intptr_t parent = 0) {
        return backend->open(path, parent);
    }

    TestMedia media;
    std::unique_ptr<PlayerBackend> backend = makeGstBackend();
};

TEST_F(GstBackendTest, OpenedVideoStandsStoppedOnItsFirstFrame) {
    auto player = open(media.video());
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->positionMs(), 0);
    EXPECT_DOUBLE_EQ(player->frameRate(), TestMedia::videoFrameRate);
    EXPECT_NEAR(player->lengthMs(), TestMedia::videoSeconds * 1000, 5 * frameMs);
}

TEST_F(GstBackendTest, OpenedNarrationStandsStoppedWithoutFrameRate) {
    auto player = open(media.narration());
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->positionMs(), 0);
    EXPECT_EQ(player->frameRate(), 0);
    EXPECT_NEAR(player->lengthMs(), TestMedia::narrationSeconds * 1000, 30);
}

TEST_F(GstBackendTest, PlayReturnsAtOnceAndThePositionAdvancesFromZero) {
    auto player = open(media.video());
    player->play();
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    double previous = 0;
    bool neverBack = true;
    ASSERT_TRUE(waitUntil([&] {
        const double now = player->positionMs();
        neverBack = neverBack && now >= previous;
        previous = now;
        return now >= 5 * frameMs;
    }));
    EXPECT_TRUE(neverBack);
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
}

TEST_F(GstBackendTest, PauseHoldsThePositionAndPlayGoesOnFromIt) {
    auto player = open(media.video());
    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->positionMs() >= 3 * frameMs; }));
    player->pause();
    EXPECT_EQ(player->mode(), PlayerMode::Paused);
    const double held = player->positionMs();
    sleepFor(150ms);
    EXPECT_EQ(player->positionMs(), held);
    EXPECT_EQ(player->mode(), PlayerMode::Paused);

    player->play();
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    EXPECT_TRUE(waitUntil([&] { return player->positionMs() > held; }));
}

// A video paused as it plays has its next frame ready in the sink: shown, the picture
// would run one frame past the position the device reports.
TEST_F(GstBackendTest, PausedVideoShowsTheFrameItWasPausedOn) {
    RegisteredSurface surface(4245);
    auto player = open(media.countingVideo(), 4245);
    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->positionMs() >= 5 * frameMs; }));
    player->pause();
    const int pausedOn = static_cast<int>(player->positionMs() / frameMs);
    sleepFor(100ms);
    EXPECT_EQ(testing::frameShown(surface.seen().middleRed), pausedOn);
}

TEST_F(GstBackendTest, StopHaltsWhereItIs) {
    auto player = open(media.narration());
    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->positionMs() >= 100; }));
    player->stop();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    const double held = player->positionMs();
    EXPECT_GT(held, 0);
    sleepFor(100ms);
    EXPECT_EQ(player->positionMs(), held);
}

TEST_F(GstBackendTest, SeekLeavesTheDeviceStoppedAtTheTarget) {
    auto player = open(media.video());
    player->seek(1000);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_NEAR(player->positionMs(), 1000, frameMs);
    player->play();
    EXPECT_TRUE(waitUntil([&] { return player->positionMs() > 1000 + frameMs; }));
}

TEST_F(GstBackendTest, DevicesRunIndependently) {
    auto video = open(media.video());
    auto narration = open(media.narration());
    video->play();
    narration->play();
    ASSERT_TRUE(waitUntil([&] { return video->positionMs() >= 2 * frameMs; }));
    video->pause();
    const double narrationAtPause = narration->positionMs();
    EXPECT_EQ(narration->mode(), PlayerMode::Playing);
    EXPECT_TRUE(waitUntil([&] { return narration->positionMs() > narrationAtPause; }));
    EXPECT_EQ(video->mode(), PlayerMode::Paused);
}

struct EndCase {
    const char* name;
    std::function<const std::string&(TestMedia&)> file;
    double lengthMs;
    friend void PrintTo(const EndCase& endCase, std::ostream* out) { *out << endCase.name; }
};

class GstEndTest : public GstBackendTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(GstEndTest, PlayedToItsEndTheDeviceStopsAndStaysAtTheEnd) {
    auto player = open(GetParam().file(media));
    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->mode() == PlayerMode::Stopped; }));
    const double end = player->positionMs();
    EXPECT_NEAR(end, GetParam().lengthMs, 2 * frameMs);
    EXPECT_GE(player->lengthMs(), end);

    player->play();
    sleepFor(50ms);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->positionMs(), end);

    player->seek(0);
    EXPECT_EQ(player->positionMs(), 0);
    player->play();
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
}

INSTANTIATE_TEST_SUITE_P(
    Media, GstEndTest,
    ::testing::Values(EndCase{"Video", [](TestMedia& m) -> const std::string& { return m.video(); },
                              TestMedia::videoSeconds * 1000.0},
                      EndCase{"Narration",
                              [](TestMedia& m) -> const std::string& { return m.narration(); },
                              TestMedia::narrationSeconds * 1000.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadOpenCase {
    const char* name;
    std::function<std::string(TestMedia&)> file;
    int number;
    friend void PrintTo(const BadOpenCase& badOpen, std::ostream* out) { *out << badOpen.name; }
};

class GstBadOpenTest : public GstBackendTest, public ::testing::WithParamInterface<BadOpenCase> {};

TEST_P(GstBadOpenTest, OpenFailsWithTheServiceNumber) {
    const std::string path = GetParam().file(media);
    try {
        open(path);
        FAIL() << "opened " << path;
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), GetParam().number);
        EXPECT_NE(error.text().find(path), std::string::npos) << error.text();
    }
}

std::string emptyFile(TestMedia& media) {
    const std::string path = media.folder() + "/empty.mp2";
    std::ofstream{path};
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Files, GstBadOpenTest,
    ::testing::Values(
        BadOpenCase{"Missing", [](TestMedia& m) { return m.missing(); }, errors::FileNotFound},
        BadOpenCase{"Folder", [](TestMedia& m) { return m.folder(); }, errors::FileNotFound},
        BadOpenCase{"RandomBytes", [](TestMedia& m) { return m.corrupt(); }, errors::InvalidFile},
        BadOpenCase{"Empty", emptyFile, errors::InvalidFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GstBackendTest, VideoIsDrawnIntoTheSurfaceOfItsParentWindowUntilClosed) {
    RegisteredSurface surface(4242);
    auto player = open(media.video(), 4242);
    player->play();
    ASSERT_TRUE(waitUntil([&] { return surface.seen().frames >= 3; }));
    player.reset();

    const auto seen = surface.seen();
    EXPECT_EQ(seen.width, TestMedia::videoWidth);
    EXPECT_EQ(seen.height, TestMedia::videoHeight);
    EXPECT_GE(seen.stride, TestMedia::videoWidth * 4);
    EXPECT_TRUE(seen.anyLitPixel);
    EXPECT_EQ(seen.clears, 1);
    EXPECT_EQ(seen.framesAfterClear, 0);
}

TEST_F(GstBackendTest, VideoWithoutItsSurfacePlaysInRealTimeUnseen) {
    RegisteredSurface elsewhere(77);
    auto player = open(media.video(), 78);
    player->play();
    EXPECT_TRUE(waitUntil([&] { return player->positionMs() >= 3 * frameMs; }));
    player.reset();
    EXPECT_EQ(elsewhere.seen().frames, 0);
    EXPECT_EQ(elsewhere.seen().clears, 0);
}

TEST_F(GstBackendTest, AHiddenSurfaceIsHandedNoFramesUntilItShowsThemAgain) {
    RegisteredSurface surface(4245);
    surface.setShowsFrames(false);
    auto player = open(media.video(), 4245);
    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->positionMs() >= 3 * frameMs; }));
    EXPECT_EQ(surface.seen().frames, 0);

    surface.setShowsFrames(true);
    EXPECT_TRUE(waitUntil([&] { return surface.seen().frames >= 1; }));
    EXPECT_TRUE(surface.seen().anyLitPixel);
}

TEST_F(GstBackendTest, NarrationLeavesTheSurfaceAlone) {
    RegisteredSurface surface(4243);
    open(media.narration(), 4243).reset();
    EXPECT_EQ(surface.seen().clears, 0);
}

TEST_F(GstBackendTest, SinkNamedByTheEnvironmentReplacesTheSurface) {
    const ScopedVariable sink("TESSARO_VIDEO_SINK", "fakesink sync=true");
    RegisteredSurface surface(4244);
    auto player = open(media.video(), 4244);
    player->play();
    EXPECT_TRUE(waitUntil([&] { return player->positionMs() >= 3 * frameMs; }));
    EXPECT_EQ(surface.seen().frames, 0);
}

TEST_F(GstBackendTest, SinkThatCannotBeBuiltFailsTheOpen) {
    const ScopedVariable sink("TESSARO_AUDIO_SINK", "nosuchsinkelement");
    try {
        open(media.narration());
        FAIL() << "opened with a sink that does not exist";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errors::CannotLoadDriver);
    }
}

}  // namespace
}  // namespace tessaro::media
