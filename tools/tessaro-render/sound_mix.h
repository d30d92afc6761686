// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "tools/tessaro-render/media_decoding.h"
#include "tools/tessaro-render/timeline.h"

namespace tessaro::render {

// The narrations of a timeline laid out on the output's sound: each running span of a
// narration's device plays its decoded sound from the position it stood at.
class SoundMix {
  public:
    // sounds[k] is the decoded sound of timeline.narrations[k]; both outlive the mix.
    SoundMix(const Timeline& timeline, const std::vector<const Pcm*>& sounds);

    // Interleaved stereo samples for sample frames [from, to) of the output.
    std::vector<std::int16_t> samples(std::int64_t from, std::int64_t to) const;

  private:
    struct Span {
        std::int64_t from;  // output sample frames [from, to)
        std::int64_t to;
        std::int64_t mediaFrom;  // sample frame of the sound at `from`
        const Pcm* sound;
    };
    std::vector<Span> spans_;
};

}  // namespace tessaro::render
