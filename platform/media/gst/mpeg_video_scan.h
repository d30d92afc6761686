// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace tessaro::media::gst {

// What one pass over an MPEG file tells of its video before it is played: the pictures
// it holds, counted, so that a video's length is exact from its open on, whatever the
// container's clock references or index say (or fail to say).
struct MpegVideoScan {
    enum class Container { Other, ProgramStream, VideoElementaryStream };
    enum class Codec { None, MpegVideo, H264, Unknown };

    Container container = Container::Other;
    // Of the first video stream; None when the file holds no video packet.
    Codec codec = Codec::None;
    // Pictures of the first video stream, field pairs counted as one.
    std::int64_t frames = 0;
    // Frames per second from the first sequence header; 0 when none was found.
    double frameRate = 0;
    // Program streams: where the pack that carries the first video packet starts, and how
    // far (in seconds of the system clock) it lies behind the first pack.
    std::uint64_t firstVideoPack = 0;
    double videoLeadSeconds = 0;
};

// Reads the file through once, in bounded pieces. A file that is not MPEG (or cannot be
// read) gives Container::Other; damage ends the count where the structure is lost.
MpegVideoScan scanMpegVideo(const std::string& path);

// The same for bytes in memory (the whole file).
MpegVideoScan scanMpegVideo(const std::uint8_t* data, std::size_t size);

}  // namespace tessaro::media::gst
