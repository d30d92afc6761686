// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "platform/media/player_backend.h"
#include "sim/virtual_clock.h"

namespace tessaro::media {

// A player whose playback runs on the virtual clock: while playing, its position is
// where it was when play started plus the clock time gone by since, capped at its
// length, where it stops by itself.
class SimPlayer : public Player {
  public:
    SimPlayer(const sim::VirtualClock& clock, double lengthMs, double frameRate);

    void play() override;
    void pause() override;
    void stop() override;
    void seek(double positionMs) override;
    PlayerMode mode() override;
    double positionMs() override;
    double lengthMs() override { return lengthMs_; }
    double frameRate() override { return frameRate_; }

  private:
    // Brings position and mode up to the clock's present.
    void catchUp();
    void startRunning();

    const sim::VirtualClock& clock_;
    double lengthMs_;
    double frameRate_;
    PlayerMode mode_ = PlayerMode::Stopped;
    double positionMs_ = 0;
    std::int64_t runningSinceMs_ = 0;
};

}  // namespace tessaro::media
