// SPDX-License-Identifier: MIT
#include "tools/tessaro-play/event_line.h"

#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

namespace tessaro::play {
namespace {

// A video playback adds the clip count N to TotalRec at every clip (TotalRec = k * N, AudioNo
// = N); a picture playback adds one to AudioNo per narration (AudioNo = N + k - 1, TotalRec =
// N). The first narration, raised by the lookup, has TotalRec = AudioNo = N in both.
std::string clipText(const EventReport& report) {
    const double clips = report.videoMode ? report.audioNo : report.totalRec;
    const double clip = report.videoMode
                            ? (report.audioNo != 0 ? report.totalRec / report.audioNo : 0)
                            : report.audioNo - report.totalRec + 1;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "clip %g of %g", std::round(clip), clips);
    return buffer;
}

}  // namespace

std::string formatEventLine(const EventReport& report) {
    char time[32];
    std::snprintf(time, sizeof time, "%8.3f s  ", report.seconds);
    std::string line = time + report.event;
    if (report.event == "CurAudioNos") {
        line += "  " + clipText(report) + "  (TotalRec " + std::to_string(report.totalRec) + ")";
    }
    return line;
}

std::string formatEventJson(const EventReport& report) {
    nlohmann::ordered_json line;
    line["t"] = std::round(report.seconds * 1000) / 1000;
    line["event"] = report.event;
    line["TotalRec"] = report.totalRec;
    if (report.audioNo == std::floor(report.audioNo)) {
        line["AudioNo"] = static_cast<long long>(report.audioNo);
    } else {
        line["AudioNo"] = report.audioNo;
    }
    return line.dump();
}

}  // namespace tessaro::play
