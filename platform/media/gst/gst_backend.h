// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/media/interpreter.h"
#include "platform/media/player_backend.h"

namespace tessaro::media {

// Real playback through GStreamer: a playbin per video device; a file of sound alone (a
// narration) is decoded by a pipeline of its own and played through one long-lived audio
// output that the backend's narration devices take in turn. Without a display or an audio
// device it plays into fake sinks that keep real time; TESSARO_VIDEO_SINK and
// TESSARO_AUDIO_SINK name other sinks. The narration output is started aside on the first
// open of any device, or at once when narrationOutputAtOnce (a host about to play), so that
// the first narration starts without waiting for the sound server.
std::unique_ptr<PlayerBackend> makeGstBackend(bool narrationOutputAtOnce = false);

// The process's media command service over GStreamer, created on first use (as a host's
// first control is), its narration output started at once.
Interpreter& processMediaService();

}  // namespace tessaro::media
