// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "control/kavo_video_sync_fields.h"
#include "qt/loop_wakes.h"

namespace tessaro::qt {
namespace {

// Foresees the video and the narration as set; the video reaches any frame asked after
// untilFrame.
struct SetForecast : media::DeviceForecast {
    std::optional<double> videoStops;
    std::optional<double> soundStops;
    std::optional<double> untilFrame;
    std::vector<double> framesAsked;

    std::optional<double> msUntilStopped(std::string_view device) override {
        return device == "video" ? videoStops : device == "sound" ? soundStops : std::nullopt;
    }
    std::optional<double> msUntilPosition(std::string_view device, double position) override {
        framesAsked.push_back(position);
        return device == "video" ? untilFrame : std::nullopt;
    }
    int wakeOnUnforeseenChange(std::function<void()>) override { return 0; }
    void forgetWake(int) override {}
};

struct Case {
    const char* what;
    Flag preview;
    std::int16_t clipStart;
    std::optional<double> videoStops, soundStops, untilFrame;
    int waitMs;
};

TEST(LoopWakes, Timer1WakesALeadBeforeTheNearestForeseenChangeWithinTheFineAndSlowPolls) {
    const auto none = std::nullopt;
    const std::vector<Case> cases = {
        {"preview: the video's end", True, 0, 200, none, 5, 160},
        {"preview: the end near", True, 0, 20, none, 5, LoopWakes::FineMs},
        {"preview: the end within a fine interval", True, 0, 4.2, none, 5, 5 + LoopWakes::LandMs},
        {"preview: the end due and not come", True, 0, 0, none, 5, LoopWakes::FineMs},
        {"preview: a paused video", True, 0, none, none, none, LoopWakes::SlowMs},
        {"the next clip's frame first", False, 50, 9000, 3000, 130, 90},
        {"the narration's end first", False, 50, 9000, 150, 3000, 110},
        {"far off: the slow poll", False, 50, 9000, 3000, 900, LoopWakes::SlowMs},
        {"held: the narration's end", False, 50, 9000, 45, none, LoopWakes::FineMs},
        {"last clip speaking: no frame", False, -10, 9000, 200, 5, 160},
        {"nothing foreseen", False, -10, none, none, none, LoopWakes::SlowMs},
        {"a change not foreseeable exactly", False, 50, none, 40.5, none, LoopWakes::FineMs},
    };
    for (const Case& c : cases) {
        SetForecast forecast;
        forecast.videoStops = c.videoStops;
        forecast.soundStops = c.soundStops;
        forecast.untilFrame = c.untilFrame;
        KavoVideoSyncFields state;
        state.VideoPreview = c.preview;
        state.ClipStart = c.clipStart;
        EXPECT_EQ(LoopWakes::videoLoop(state, forecast), c.waitMs) << c.what;
        if (c.preview == False && c.clipStart >= 0)
            EXPECT_EQ(forecast.framesAsked, std::vector<double>{double(c.clipStart)}) << c.what;
        else
            EXPECT_TRUE(forecast.framesAsked.empty()) << c.what;
    }
}

TEST(LoopWakes, Timer2WaitsForTheNarrationExceptInASilentPreview) {
    SetForecast forecast;
    forecast.soundStops = 100;
    KavoVideoSyncFields state;
    EXPECT_EQ(LoopWakes::pictureLoop(state, forecast), 60);
    forecast.soundStops.reset();
    EXPECT_EQ(LoopWakes::pictureLoop(state, forecast), LoopWakes::SlowMs);
    state.PhotoPreview = True;
    EXPECT_EQ(LoopWakes::pictureLoop(state, forecast), LoopWakes::FineMs);
}

}  // namespace
}  // namespace tessaro::qt
