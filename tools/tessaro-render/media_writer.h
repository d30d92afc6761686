// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/media/gst/gst_pipeline.h"

namespace tessaro::render {

enum class Container { Mp4, WebM };

// The raw frames handed to the writer.
struct RawVideo {
    std::string format;  // "I420", "RGBx"
    int width = 0;
    int height = 0;
    int rateNumerator = 25;
    int rateDenominator = 1;
};

// A named mark in the file at a time.
struct Chapter {
    std::string title;
    GstClockTime start = 0;
    GstClockTime stop = 0;
};

// Encodes frames and 16-bit stereo sound into one file: H.264 and AAC in MP4, or VP9
// and Opus in WebM. The frames are taken as they come: frame k is shown from k frame
// durations on. WebM files carry the chapters as Matroska chapters; both carry the
// title.
class MediaWriter {
  public:
    // Starts the pipeline. Throws tessaro::Error 266 when an element is missing, 277 when
    // the file cannot be written.
    MediaWriter(const std::string& path, Container container, const RawVideo& video,
                const std::string& title, const std::vector<Chapter>& chapters);

    // Frame k of the stream; the buffer is not modified (a shallow copy is pushed).
    void pushFrame(GstBuffer* frame, std::int64_t k);
    // Interleaved stereo samples starting at sample frame firstFrame.
    void pushSound(std::vector<std::int16_t> samples, std::int64_t firstFrame);
    // Ends both streams and waits until the file is complete. Throws tessaro::Error 277
    // when the pipeline failed on the way.
    void finish();

  private:
    RawVideo video_;
    // Sample frames of the mix that the encoder's own priming stands in for.
    std::int64_t soundSkip_;
    std::int64_t soundEnd_ = 0;
    media::gst::Pipeline pipeline_;
    GstElement* videoSource_;
    GstElement* soundSource_;
};

}  // namespace tessaro::render
