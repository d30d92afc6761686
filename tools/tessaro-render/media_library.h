// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <memory>
#include <string>

#include "tools/tessaro-render/media_decoding.h"

namespace tessaro::render {

// What a media file holds, as read from the file itself.
struct MediaFacts {
    bool hasVideo = false;
    // Video: frames per second as a fraction, the decoded frame count and frame size.
    int rateNumerator = 0;
    int rateDenominator = 1;
    long long frameCount = 0;
    int width = 0;
    int height = 0;
    // Sound only: the decoded sound, kept for the mix.
    std::shared_ptr<const Pcm> sound;

    double frameRate() const;
    // Video: frameCount frames at the frame rate; sound: its decoded length.
    double lengthMs() const;
};

// Reads media and picture files once each and keeps what the render needs of them.
// Paths are POSIX paths.
class MediaLibrary {
  public:
    // Throws tessaro::Error 275 when the file does not exist, 296 when it cannot be
    // decoded (or a video states no frame rate).
    const MediaFacts& media(const std::string& path);
    // Throws tessaro::Error 53 when the file does not exist, 481 when it holds no picture.
    const Frame& picture(const std::string& path);

  private:
    std::map<std::string, MediaFacts> media_;
    std::map<std::string, Frame> pictures_;
};

}  // namespace tessaro::render
