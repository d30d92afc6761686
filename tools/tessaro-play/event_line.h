// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tessaro::play {

// What a person (or a script) is told of one control event.
struct EventReport {
    double seconds = 0;  // since the start of the run
    std::string event;   // "CurAudioNos" or "VideoEnd"
    int totalRec = 0;
    double audioNo = 0;
    bool videoMode = false;  // the playback is a video (clip numbers grow in TotalRec)
};

// "   2.412 s  CurAudioNos  clip 2 of 3  (TotalRec 6)", "   8.123 s  VideoEnd"
std::string formatEventLine(const EventReport& report);
// {"t":2.412,"event":"CurAudioNos","TotalRec":6,"AudioNo":3}
std::string formatEventJson(const EventReport& report);

}  // namespace tessaro::play
