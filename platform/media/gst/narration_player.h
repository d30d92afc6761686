// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <memory>
#include <string>

#include "platform/media/gst/audio_output.h"
#include "platform/media/player_backend.h"

namespace tessaro::media::gst {

// Opens a sound-only file of the given kind (its type as found from its head) as a
// narration device: its own pipeline decodes it (prerolled here, so that a file that
// cannot be decoded fails the open), and it plays through an output leased from outputs. The
// device's position follows what the output's sink has played, that is what is heard. The mode
// reads Stopped once the clip's last sample has been handed to the output and is heard within
// the output's handover (AudioOutput::handover(): its sink's latency, at most 30 ms): closed
// then, the device lets that sound be heard, and a clip played next through the output
// follows on from it without a gap.
// Throws tessaro::Error 275 or 296 as PlayerBackend::open does, 266 when no output can be started.
std::unique_ptr<Player> openNarration(const std::string& path, const std::string& kind,
                                      const std::shared_ptr<AudioOutputs>& outputs);

}  // namespace tessaro::media::gst
