// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/media/gst/gst_pipeline.h"

namespace tessaro::render {

// Every sound is mixed and written as interleaved 16-bit stereo at this rate.
inline constexpr int AudioRate = 48000;
inline constexpr int AudioChannels = 2;

// Decoded sound: interleaved 16-bit samples, AudioChannels per sample frame.
struct Pcm {
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return samples.size() / AudioChannels; }
    double lengthMs() const { return static_cast<double>(frames()) * 1000.0 / AudioRate; }
};

// Decodes the whole sound of a media file. Throws tessaro::Error when it cannot be read
// or holds no sound.
Pcm decodeAudio(const std::string& path);

// A decoded raw video frame, shared: pushing it again costs no copy.
struct Frame {
    std::shared_ptr<GstBuffer> buffer;
    int width = 0;
    int height = 0;
};

// The frames of a video file, decoded in order into the raw format asked for ("I420",
// "GRAY8", "RGBx"). Throws tessaro::Error when the file cannot be decoded.
class VideoFrames {
  public:
    VideoFrames(const std::string& path, const std::string& rawFormat);

    // The next frame, or false at the end of the stream.
    bool next(Frame& frame);
    // Frames per second as a fraction, from the stream's caps (0/1 before the first frame
    // or when the stream does not say).
    int rateNumerator() const { return rateN_; }
    int rateDenominator() const { return rateD_; }

  private:
    std::string path_;
    media::gst::Pipeline pipeline_;
    GstElement* sink_;
    int rateN_ = 0;
    int rateD_ = 1;
};

// The bytes of a frame's plane 0 row by row, without stride padding (for one-plane
// formats such as GRAY8 and RGBx).
std::vector<std::uint8_t> packedPixels(const Frame& frame, int bytesPerPixel);

// Decodes a picture file into one RGBx frame. Throws tessaro::Error when it holds none.
Frame decodePicture(const std::string& path);

}  // namespace tessaro::render
