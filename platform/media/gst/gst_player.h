// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/media/gst/gst_pipeline.h"
#include "platform/media/player_backend.h"

namespace tessaro::media::gst {

// A video's pictures as counted in its file before it plays; none counted when frames
// is 0.
struct CountedVideo {
    std::int64_t frames = 0;
    double frameRate = 0;
};

// One device: a prerolled playbin driven from the host's thread. Its bus is read on every
// call (end of stream, errors), so no GLib main loop is needed.
class GstPlayer final : public Player {
  public:
    // Takes a playbin already prerolled in PAUSED. A counted video's length is its count of
    // frames, exact from the open on; otherwise the length is what the pipeline estimates,
    // or the end reached once played.
    GstPlayer(Pipeline playbin, std::intptr_t surfaceHandle, CountedVideo counted);
    ~GstPlayer() override;

    void play() override;
    void pause() override;
    void stop() override;
    void seek(double positionMs) override;
    PlayerMode mode() override;
    double positionMs() override;
    double lengthMs() override;
    double frameRate() override;
    std::optional<Error> takeStreamFailure() override;
    // Raised from the streaming thread as the end of the stream or a failure is posted.
    void signalChangesTo(std::shared_ptr<ChangeSignal> changes) override;

  private:
    void drainBus();
    void failWhilePlaying(GstMessage* error);
    void reachEnd();
    double streamPositionMs();

    Pipeline playbin_;
    GstBus* bus_;
    std::intptr_t surfaceHandle_;
    bool hasVideo_;
    // Where the position is asked. A video's sink times its frames and answers the
    // control's every-tick query without a walk through all of playbin's bins and sinks.
    GstElement* positionSource_;
    double frameRate_;
    // Stream time of the first frame: MPEG program streams start at their first clock
    // reference, not at 0, and a video may start after the file's sound.
    gint64 originNs_;
    // The counted length; 0 when not counted.
    double countedMs_;
    PlayerMode mode_ = PlayerMode::Stopped;
    bool atEnd_ = false;
    double endMs_ = 0;
    double lastPositionMs_ = 0;
    double durationMs_ = 0;
    std::optional<Error> failure_;
};

}  // namespace tessaro::media::gst
