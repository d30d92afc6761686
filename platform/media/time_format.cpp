// SPDX-License-Identifier: MIT
#include "platform/media/time_format.h"

#include <cmath>

namespace tessaro::media {
namespace {

// Frame times are not exact in binary; without this slack the start time of frame N
// could read back as frame N - 1.
constexpr double FrameSlack = 1e-6;

}  // namespace

long long toDeviceUnits(double ms, TimeFormat format, double frameRate) {
    if (format == TimeFormat::Frames)
        return static_cast<long long>(std::floor(ms * frameRate / 1000.0 + FrameSlack));
    return static_cast<long long>(std::floor(ms));
}

double toMilliseconds(long long units, TimeFormat format, double frameRate) {
    if (format == TimeFormat::Frames)
        return static_cast<double>(units) * 1000.0 / frameRate;
    return static_cast<double>(units);
}

std::string_view timeFormatName(TimeFormat format) {
    return format == TimeFormat::Frames ? "frames" : "milliseconds";
}

}  // namespace tessaro::media
