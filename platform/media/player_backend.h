// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <tessaro/error.h>
#include "platform/media/change_signal.h"

namespace tessaro::media {

enum class PlayerMode { Stopped, Playing, Paused };

// One open media device as the interpreter drives it. Times are milliseconds from the
// media's first frame (frame 0 at 0 ms). Calls come from the host's thread only.
class Player {
  public:
    virtual ~Player() = default;

    // Starts or continues playback and returns at once; playback runs on in real time
    // (GStreamer) or on the virtual clock (sim). Played to its end, the mode reads
    // Stopped and the position stays at the end.
    virtual void play() = 0;
    virtual void pause() = 0;
    // Halts playback where it is; the mode reads Stopped.
    virtual void stop() = 0;
    virtual void seek(double positionMs) = 0;
    virtual PlayerMode mode() = 0;
    virtual double positionMs() = 0;
    // A video's length is exact from the open on: MPEG program and elementary streams by
    // their pictures counted, other containers by their index. Media whose length nothing
    // tells read their best estimate, else 0, until played to their end, which then stands
    // (docs/media.md).
    virtual double lengthMs() = 0;
    // Frames per second of the video stream, 0 for audio only.
    virtual double frameRate() = 0;
    // A failure that ended the playback early (a stream that cannot be decoded further, a
    // file that can no longer be read), handed out once; the device then reads Stopped
    // where it failed, as if played to its end. nullopt when there is none to hand out.
    virtual std::optional<Error> takeStreamFailure() { return std::nullopt; }
    // How long the device plays on before its mode reads Stopped by itself (its end
    // reached, its last sample heard), for a host that wakes only when a reply can change;
    // nullopt while it is not playing. A foresight, not a promise: it may come true a little
    // later (a stream that stalls), never earlier. A player whose mode turns Stopped before
    // its position reaches its length says so here.
    virtual std::optional<double> msUntilEnd() {
        const double length = lengthMs();
        if (mode() != PlayerMode::Playing || length <= 0)
            return std::nullopt;
        return std::max(0.0, length - positionMs());
    }
    // A player that can find its end or a failure on a thread of its own raises `changes`
    // then, so that a host that foresaw nothing (a length not known) looks at once. Given
    // at open; the signal outlives the player.
    virtual void signalChangesTo(std::shared_ptr<ChangeSignal> changes) { (void)changes; }
};

// Opens players. One backend per service.
class PlayerBackend {
  public:
    virtual ~PlayerBackend() = default;

    // Opens the file at a resolved POSIX path, synchronously: when it returns, the
    // player is ready, Stopped at position 0. parentWindow is the handle given by
    // "parent H" (0 when none): video is drawn into the surface registered under it.
    // Throws tessaro::Error with the service's number: 275 for a missing file, 296 for
    // a file that cannot be decoded.
    virtual std::unique_ptr<Player> open(const std::string& path, std::intptr_t parentWindow) = 0;
};

}  // namespace tessaro::media
