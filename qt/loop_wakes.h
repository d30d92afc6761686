// SPDX-License-Identifier: MIT
#pragma once

#include <tessaro/kavo_video_sync.h>

#include "control/kavo_video_sync_fields.h"
#include "platform/media/device_forecast.h"

namespace tessaro::qt {

// When the control's narration loops next need a tick, from what they wait for and what the
// media service foresees. A tick that comes when nothing can have changed does nothing, so
// a loop timer need only wake a little before each foreseen change, poll at its fine
// interval from there and aim one tick just past the change; what cannot be foreseen is
// found by a slow poll.
struct LoopWakes {
    // The fine poll, as often as the control's loops polled on the desktop platform.
    static constexpr int FineMs = 10;
    // The slow poll, for what no device foresees.
    static constexpr int SlowMs = 250;
    // How long before a foreseen change the fine poll begins: a foresight that comes true
    // this much early is still met within one fine interval, as a fine tick would meet it.
    static constexpr int LeadMs = 40;
    // How long after a foreseen change a tick aimed at it comes, so that it finds it come.
    static constexpr int LandMs = 2;

    // Milliseconds until Timer1's next tick: the video loop waits for the video to reach
    // the next clip's start frame and for the narration's end, a preview for the video's.
    static int videoLoop(const KavoVideoSyncFields& state, media::DeviceForecast& forecast);
    // Milliseconds until the picture loop's next tick (Timer2): a narrated playback waits for
    // the narration's end.
    static int pictureLoop(const KavoVideoSyncFields& state, media::DeviceForecast& forecast);
};

}  // namespace tessaro::qt
