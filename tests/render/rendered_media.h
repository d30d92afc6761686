// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaro::testing {

using GrayFrame = std::vector<std::uint8_t>;

// Every frame of a file's video, decoded to 8-bit gray, and its frame duration.
struct GrayVideo {
    std::vector<GrayFrame> frames;
    int width = 0;
    int height = 0;
    double frameMs = 0;
};
GrayVideo grayVideo(const std::string& path);

// The source frame in [around - reach, around + reach] that looks most like `frame`
// (least summed difference).
long long nearestFrame(const GrayVideo& source, const GrayFrame& frame, long long around,
                       long long reach);

// A file's sound, decoded and mixed down to one channel at 48 kHz.
std::vector<float> monoSound(const std::string& path);
inline constexpr double SoundRate = 48000;

// Where, within expectedMs +- reachMs, the start of `clip` lies in `mix`, by correlation.
double onsetMs(const std::vector<float>& mix, const std::vector<float>& clip, double expectedMs,
               double reachMs);

}  // namespace tessaro::testing
