// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/media_gst/test_media.h"

namespace tessaro::media::testing {

// A PulseAudio server of the test's own: a private folder, a null sink as its only sink,
// reached through PULSE_SERVER, which the object sets for its lifetime. Throws
// std::runtime_error when the server does not come up.
class PulseServer {
  public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    static constexpr int rate = 44100;

    // Records the null sink's monitor, mono at `rate`, until stopRecording(), which keeps
    // recording for `tail` so that the sound playing as it is called is recorded whole.
    static constexpr std::chrono::milliseconds tail{300};
    void startRecording();
    std::vector<std::int16_t> stopRecording();
    // The indexes of the playback streams connected now.
    std::vector<std::string> playbackStreams() const;

  private:
    std::string run(const std::string& command) const;

    std::string folder_;
    std::optional<ScopedVariable> home_;
    std::optional<ScopedVariable> runtime_;
    std::optional<ScopedVariable> address_;
    pid_t server_ = -1;
    pid_t recorder_ = -1;
    std::chrono::steady_clock::time_point recordingSince_;
};

// Stretches of sound in a recording, as [first, last] loud sample, separated by at least
// `quietSamples` of silence.
struct SoundSpan {
    std::size_t first;
    std::size_t last;
};
std::vector<SoundSpan> soundSpans(const std::vector<std::int16_t>& samples,
                                  std::size_t quietSamples);

}  // namespace tessaro::media::testing
