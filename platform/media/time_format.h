// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace tessaro::media {

enum class TimeFormat { Milliseconds, Frames };

// A time of the media in the device's units: whole milliseconds, or the number of the
// frame shown at that time (frame 0 from 0 ms on).
long long toDeviceUnits(double ms, TimeFormat format, double frameRate);
// The time at which a count of device units begins.
double toMilliseconds(long long units, TimeFormat format, double frameRate);
// "frames" or "milliseconds", as "status ... time format" answers.
std::string_view timeFormatName(TimeFormat format);

}  // namespace tessaro::media
