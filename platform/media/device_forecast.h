// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace tessaro::media {

// What the open devices of a media service will do on their own, for a host that wakes only
// when a status reply can change rather than polling on a fast tick. Devices are named as in
// the commands (alias, case-blind). A foresight, not a promise: what it foresees may come a
// little later (a stream that stalls, a sound server that lags), never earlier, and a host
// still polls now and then for what cannot be foreseen. Calls come from the host's thread;
// they send no command, report nothing and never throw.
class DeviceForecast {
  public:
    virtual ~DeviceForecast() = default;

    // Milliseconds from now until the device's mode may read "stopped" by itself: a video
    // reaching its end, a narration's last sample heard. 0 when its mode reads otherwise
    // than the last "status mode" reply said "playing": a change not yet seen. nullopt when
    // the device is not open, or not playing and not seen playing last, or its length is
    // not known.
    virtual std::optional<double> msUntilStopped(std::string_view device) = 0;
    // Milliseconds from now until the device's position, in its time format, reads
    // `position` or more: 0 when it does already. nullopt when the device is not open, not
    // playing or stops before it gets there.
    virtual std::optional<double> msUntilPosition(std::string_view device, double position) = 0;

    // Calls `wake`, on any thread, whenever a device changes by itself unforeseen: a stream
    // that ended or failed. Returns a number for forgetWake.
    virtual int wakeOnUnforeseenChange(std::function<void()> wake) = 0;
    // Returns once no call to that wake is under way; it is not called again.
    virtual void forgetWake(int id) = 0;
};

}  // namespace tessaro::media
