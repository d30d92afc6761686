// SPDX-License-Identifier: MIT
#include "tests/render/rendered_media.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "tools/tessaro-render/media_decoding.h"

namespace tessaro::testing {

GrayVideo grayVideo(const std::string& path) {
    render::VideoFrames frames(path, "GRAY8");
    GrayVideo video;
    render::Frame frame;
    while (frames.next(frame)) {
        video.frames.push_back(render::packedPixels(frame, 1));
        video.width = frame.width;
        video.height = frame.height;
    }
    if (frames.rateNumerator() > 0)
        video.frameMs = 1000.0 * frames.rateDenominator() / frames.rateNumerator();
    return video;
}

long long nearestFrame(const GrayVideo& source, const GrayFrame& frame, long long around,
                       long long reach) {
    long long best = -1;
    long long bestDifference = std::numeric_limits<long long>::max();
    const auto last = static_cast<long long>(source.frames.size()) - 1;
    for (long long f = std::max(0LL, around - reach); f <= std::min(last, around + reach); ++f) {
        long long difference = 0;
        const GrayFrame& candidate = source.frames[static_cast<std::size_t>(f)];
        for (std::size_t i = 0; i < std::min(candidate.size(), frame.size()); ++i)
            difference += std::abs(static_cast<int>(candidate[i]) - static_cast<int>(frame[i]));
        if (difference < bestDifference) {
            bestDifference = difference;
            best = f;
        }
    }
    return best;
}

std::vector<float> monoSound(const std::string& path) {
    const render::Pcm pcm = render::decodeAudio(path);
    std::vector<float> mono(pcm.frames());
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = (static_cast<float>(pcm.samples[2 * i]) + pcm.samples[2 * i + 1]) / 65536.0f;
    return mono;
}

double onsetMs(const std::vector<float>& mix, const std::vector<float>& clip, double expectedMs,
               double reachMs) {
    const std::size_t window = std::min<std::size_t>(clip.size(), 12000);
    const auto at = [](double ms) { return static_cast<long long>(ms * SoundRate / 1000.0); };
    long long bestLag = -1;
    double bestScore = -std::numeric_limits<double>::infinity();
    for (long long lag = std::max(0LL, at(expectedMs - reachMs)); lag <= at(expectedMs + reachMs);
         ++lag) {
        double score = 0;
        for (std::size_t i = 0; i < window && static_cast<std::size_t>(lag) + i < mix.size(); ++i)
            score += static_cast<double>(clip[i]) * mix[static_cast<std::size_t>(lag) + i];
        if (score > bestScore) {
            bestScore = score;
            bestLag = lag;
        }
    }
    return static_cast<double>(bestLag) * 1000.0 / SoundRate;
}

}  // namespace tessaro::testing
