// SPDX-License-Identifier: MIT
#include "sim/sim_player.h"

#include <algorithm>

namespace tessaro::media {

SimPlayer::SimPlayer(const sim::VirtualClock& clock, double lengthMs, double frameRate)
    : clock_(clock), lengthMs_(lengthMs), frameRate_(frameRate) {}

void SimPlayer::catchUp() {
    if (mode_ != PlayerMode::Playing)
        return;
    const std::int64_t now = clock_.nowMs();
    positionMs_ += static_cast<double>(now - runningSinceMs_);
    runningSinceMs_ = now;
    if (positionMs_ >= lengthMs_) {
        positionMs_ = lengthMs_;
        mode_ = PlayerMode::Stopped;
    }
}

void SimPlayer::startRunning() {
    runningSinceMs_ = clock_.nowMs();
    mode_ = positionMs_ >= lengthMs_ ? PlayerMode::Stopped : PlayerMode::Playing;
}

void SimPlayer::play() {
    catchUp();
    startRunning();
}

void SimPlayer::pause() {
    catchUp();
    mode_ = PlayerMode::Paused;
}

void SimPlayer::stop() {
    catchUp();
    mode_ = PlayerMode::Stopped;
}

void SimPlayer::seek(double positionMs) {
    catchUp();
    positionMs_ = std::clamp(positionMs, 0.0, lengthMs_);
    if (mode_ == PlayerMode::Playing)
        startRunning();
}

PlayerMode SimPlayer::mode() {
    catchUp();
    return mode_;
}

double SimPlayer::positionMs() {
    catchUp();
    return positionMs_;
}

}  // namespace tessaro::media
