// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/sound_mix.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaro::render {
namespace {

std::int64_t sampleFrameAt(double ms) {
    return std::llround(ms * AudioRate / 1000.0);
}

}  // namespace

SoundMix::SoundMix(const Timeline& timeline, const std::vector<const Pcm*>& sounds) {
    for (std::size_t k = 0; k < timeline.narrations.size() && k < sounds.size(); ++k) {
        const DeviceTrack& track = timeline.narrations[k];
        const auto& states = track.states;
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (!states[i].running)
                continue;
            const std::int64_t from = sampleFrameAt(static_cast<double>(states[i].atMs));
            const std::int64_t mediaFrom = sampleFrameAt(states[i].positionMs);
            std::int64_t to = from + (static_cast<std::int64_t>(sounds[k]->frames()) - mediaFrom);
            if (i + 1 < states.size())
                to = std::min(to, sampleFrameAt(static_cast<double>(states[i + 1].atMs)));
            if (to > from)
                spans_.push_back({from, to, mediaFrom, sounds[k]});
        }
    }
}

std::vector<std::int16_t> SoundMix::samples(std::int64_t from, std::int64_t to) const {
    std::vector<std::int32_t> sum(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)) *
                                  AudioChannels);
    for (const Span& span : spans_) {
        const std::int64_t first = std::max(from, span.from);
        const std::int64_t last = std::min(to, span.to);
        for (std::int64_t i = first; i < last; ++i) {
            const auto source = static_cast<std::size_t>(span.mediaFrom + (i - span.from));
            for (int c = 0; c < AudioChannels; ++c)
                sum[static_cast<std::size_t>(i - from) * AudioChannels + c] +=
                    span.sound->samples[source * AudioChannels + c];
        }
    }
    std::vector<std::int16_t> mixed(sum.size());
    std::transform(sum.begin(), sum.end(), mixed.begin(), [](std::int32_t v) {
        return static_cast<std::int16_t>(std::clamp<std::int32_t>(
            v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
    });
    return mixed;
}

}  // namespace tessaro::render
