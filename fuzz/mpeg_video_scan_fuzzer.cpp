// SPDX-License-Identifier: MIT
// Arbitrary bytes as an MPEG file for the count of its video's pictures that every video
// open makes: it must end, stay within the bytes, and give counts that make sense.
#include <cstdint>
#include <cstdlib>

#include "platform/media/gst/mpeg_video_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tessaro::media::gst::MpegVideoScan;
    const MpegVideoScan scan = tessaro::media::gst::scanMpegVideo(data, size);
    if (scan.frames < 0 || scan.firstVideoPack > size || scan.videoLeadSeconds < 0)
        std::abort();
    if (scan.codec == MpegVideoScan::Codec::None && scan.frames != 0)
        std::abort();
    return 0;
}
