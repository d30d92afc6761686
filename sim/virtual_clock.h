// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tessaro::sim {

// Shared simulated time in milliseconds. The sim container advances it (firing timers
// as they fall due); the sim media backend reads it to know how far playback has run.
class VirtualClock {
  public:
    std::int64_t nowMs() const { return nowMs_; }
    void advanceTo(std::int64_t ms) {
        if (ms > nowMs_)
            nowMs_ = ms;
    }

  private:
    std::int64_t nowMs_ = 0;
};

}  // namespace tessaro::sim
