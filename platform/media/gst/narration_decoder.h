// SPDX-License-Identifier: MIT
#pragma once

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <string>

#include "platform/media/gst/gst_pipeline.h"

namespace tessaro::media::gst {

// A narration file being decoded into the pieces an AudioOutput takes: a pipeline
// prerolled in PAUSED whose appsink `pieces` holds them.
struct NarrationDecoder {
    Pipeline pipeline;
    GstAppSink* pieces = nullptr;
    // Bits per second the stream was tagged with, 0 when untagged.
    unsigned bitRate = 0;
};

// kind is the file's type as found from its head (caps as text). Throws tessaro::Error
// 275 or 296 as PlayerBackend::open does.
NarrationDecoder decodeNarration(const std::string& path, const std::string& kind);

// Makes one of each element a narration of MPEG audio is decoded with (its plugins loaded
// and its classes set up), ahead of the first narration, so that it is ready as soon as
// the next one; once per process, whatever thread calls first.
void prepareNarrationDecoders();

}  // namespace tessaro::media::gst
