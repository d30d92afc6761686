// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/media_decoding.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cstring>
#include <optional>

#include <tessaro/command_service.h>
#include <tessaro/error.h>

namespace tessaro::render {
namespace {

using media::gst::Pipeline;

std::string cannotDecode(const std::string& path) {
    return "cannot decode " + path;
}

// A decodebin pad of the other kind (a sound beside the video) stays unlinked; the
// demuxer goes on as long as one of its streams is linked.
Pipeline decodingPipeline(const std::string& path, const std::string& conversion) {
    Pipeline pipeline = media::gst::launchPipeline("filesrc name=src ! decodebin ! " + conversion +
                                                   " ! appsink name=sink sync=false max-buffers=8");
    g_object_set(media::gst::pipelineElement(pipeline.get(), "src"), "location", path.c_str(),
                 nullptr);
    return pipeline;
}

std::string videoConversion(const std::string& rawFormat) {
    return "videoconvert ! video/x-raw,format=" + rawFormat;
}

std::shared_ptr<GstBuffer> shareBuffer(GstBuffer* buffer) {
    return std::shared_ptr<GstBuffer>(gst_buffer_ref(buffer), gst_buffer_unref);
}

// Pulls the next sample; nullptr at the end. A failure of the pipeline is thrown: it
// stops the stream without an end, so the sink is polled and the bus read in between.
GstSample* pullSample(GstElement* pipeline, GstElement* sink, const std::string& path) {
    constexpr GstClockTime Poll = 50 * GST_MSECOND;
    for (;;) {
        if (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), Poll))
            return sample;
        if (gst_app_sink_is_eos(GST_APP_SINK(sink)))
            return nullptr;
        if (std::optional<Error> failure = media::gst::pendingError(pipeline, cannotDecode(path)))
            throw *failure;
    }
}

void startDecoding(GstElement* pipeline, const std::string& path) {
    media::gst::changeState(pipeline, GST_STATE_PLAYING, cannotDecode(path));
}

}  // namespace

Pcm decodeAudio(const std::string& path) {
    Pipeline pipeline = decodingPipeline(
        path, "audioconvert ! audioresample ! audio/x-raw,format=S16LE,layout=interleaved,rate=" +
                  std::to_string(AudioRate) + ",channels=" + std::to_string(AudioChannels));
    GstElement* sink = media::gst::pipelineElement(pipeline.get(), "sink");
    startDecoding(pipeline.get(), path);
    Pcm pcm;
    while (GstSample* sample = pullSample(pipeline.get(), sink, path)) {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const auto* first = reinterpret_cast<const std::int16_t*>(map.data);
            pcm.samples.insert(pcm.samples.end(), first, first + map.size / sizeof(std::int16_t));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
    return pcm;
}

VideoFrames::VideoFrames(const std::string& path, const std::string& rawFormat)
    : path_(path),
      pipeline_(decodingPipeline(path, videoConversion(rawFormat))),
      sink_(media::gst::pipelineElement(pipeline_.get(), "sink")) {
    startDecoding(pipeline_.get(), path);
}

bool VideoFrames::next(Frame& frame) {
    GstSample* sample = pullSample(pipeline_.get(), sink_, path_);
    if (sample == nullptr)
        return false;
    GstVideoInfo info;
    gst_video_info_from_caps(&info, gst_sample_get_caps(sample));
    rateN_ = GST_VIDEO_INFO_FPS_N(&info);
    rateD_ = GST_VIDEO_INFO_FPS_D(&info);
    frame = Frame{shareBuffer(gst_sample_get_buffer(sample)), GST_VIDEO_INFO_WIDTH(&info),
                  GST_VIDEO_INFO_HEIGHT(&info)};
    gst_sample_unref(sample);
    return true;
}

std::vector<std::uint8_t> packedPixels(const Frame& frame, int bytesPerPixel) {
    GstVideoMeta* meta = gst_buffer_get_video_meta(frame.buffer.get());
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * bytesPerPixel;
    const std::size_t stride =
        meta ? static_cast<std::size_t>(meta->stride[0]) : GST_ROUND_UP_4(rowBytes);
    const std::size_t offset = meta ? meta->offset[0] : 0;
    std::vector<std::uint8_t> pixels(rowBytes * frame.height);
    GstMapInfo map;
    if (!gst_buffer_map(frame.buffer.get(), &map, GST_MAP_READ))
        return pixels;
    for (int row = 0; row < frame.height; ++row) {
        const std::size_t from = offset + row * stride;
        if (from + rowBytes <= map.size)
            std::memcpy(pixels.data() + row * rowBytes, map.data + from, rowBytes);
    }
    gst_buffer_unmap(frame.buffer.get(), &map);
    return pixels;
}

Frame decodePicture(const std::string& path) {
    VideoFrames frames(path, "RGBx");
    Frame frame;
    if (!frames.next(frame))
        throw Error(media::errors::InvalidFile, "no picture in " + path);
    return frame;
}

}  // namespace tessaro::render
