// SPDX-License-Identifier: MIT
#include "qt/loop_wakes.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tessaro::qt {
namespace {

// The wait before the next tick given the nearest foreseen change, if any. A change due
// within one fine interval is met just after it; one already due that has not come is polled
// for.
int waitFor(std::optional<double> nearestMs) {
    if (!nearestMs)
        return LoopWakes::SlowMs;
    if (*nearestMs > 0 && *nearestMs < LoopWakes::FineMs)
        return static_cast<int>(std::ceil(*nearestMs)) + LoopWakes::LandMs;
    const double untilFinePoll = *nearestMs - LoopWakes::LeadMs;
    return static_cast<int>(
        std::clamp(std::ceil(untilFinePoll), double(LoopWakes::FineMs), double(LoopWakes::SlowMs)));
}

std::optional<double> nearer(std::optional<double> a, std::optional<double> b) {
    if (a && b)
        return std::min(*a, *b);
    return a ? a : b;
}

}  // namespace

// The next clip's start frame matters while one is left; the narration's end, whenever one
// plays, as the video may reach that frame first.
int LoopWakes::videoLoop(const KavoVideoSyncFields& state, media::DeviceForecast& forecast) {
    if (state.VideoPreview == True)
        return waitFor(forecast.msUntilStopped("video"));
    std::optional<double> nearest = forecast.msUntilStopped("sound");
    if (state.ClipStart >= 0)
        nearest = nearer(nearest, forecast.msUntilPosition("video", state.ClipStart));
    return waitFor(nearest);
}

// A silent preview shows the next picture on every tick.
int LoopWakes::pictureLoop(const KavoVideoSyncFields& state, media::DeviceForecast& forecast) {
    if (state.PhotoPreview == True)
        return FineMs;
    return waitFor(forecast.msUntilStopped("sound"));
}

}  // namespace tessaro::qt
