// SPDX-License-Identifier: MIT
#include "platform/media/gst/surface_sink.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cstdio>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "platform/media/trace.h"
#include "platform/media/video_surface.h"

namespace tessaro::media::gst {
namespace {

// "frame 540.000 ms shown in window 7": the frame's stream time, so that a trace reader
// can tell which frame of the video a surface stood for, and when, shown or hidden.
void traceShownFrame(GstSample* sample, std::intptr_t surfaceHandle) {
    if (!traceEventsOn())
        return;
    const GstClockTime streamTime =
        gst_segment_to_stream_time(gst_sample_get_segment(sample), GST_FORMAT_TIME,
                                   GST_BUFFER_PTS(gst_sample_get_buffer(sample)));
    if (!GST_CLOCK_TIME_IS_VALID(streamTime))
        return;
    char text[80];
    std::snprintf(text, sizeof text, "frame %.3f ms shown in window %lld",
                  static_cast<double>(streamTime) / GST_MSECOND,
                  static_cast<long long>(surfaceHandle));
    traceEvent(text);
}

// Turns a sink's frames into the surface's pixels. Used on the sink's streaming thread
// only; the converter and the pixel buffer are kept from one frame to the next and
// rebuilt when the stream's format changes.
class FrameConverter {
  public:
    explicit FrameConverter(std::intptr_t surfaceHandle) : surfaceHandle_(surfaceHandle) {}
    ~FrameConverter() { release(); }
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    void hand(GstSample* sample) {
        if (surfaceHandle_ == 0)
            return;
        withVideoSurface(surfaceHandle_, [this, sample](VideoSurface& surface) {
            if (surface.showsFrames() && prepare(gst_sample_get_caps(sample)))
                present(gst_sample_get_buffer(sample), surface);
            traceShownFrame(sample, surfaceHandle_);
        });
    }

  private:
    bool prepare(GstCaps* caps) {
        if (caps_ && gst_caps_is_equal(caps_, caps))
            return converter_ != nullptr;
        release();
        caps_ = gst_caps_ref(caps);
        if (!gst_video_info_from_caps(&source_, caps))
            return false;
        // Only the pixel format changes: the converter takes the frame rate, the aspect
        // and the interlacing from the source as they are.
        gst_video_info_set_interlaced_format(
            &target_, GST_VIDEO_FORMAT_RGBx, GST_VIDEO_INFO_INTERLACE_MODE(&source_),
            GST_VIDEO_INFO_WIDTH(&source_), GST_VIDEO_INFO_HEIGHT(&source_));
        GST_VIDEO_INFO_FPS_N(&target_) = GST_VIDEO_INFO_FPS_N(&source_);
        GST_VIDEO_INFO_FPS_D(&target_) = GST_VIDEO_INFO_FPS_D(&source_);
        GST_VIDEO_INFO_PAR_N(&target_) = GST_VIDEO_INFO_PAR_N(&source_);
        GST_VIDEO_INFO_PAR_D(&target_) = GST_VIDEO_INFO_PAR_D(&source_);
        converter_ = gst_video_converter_new(&source_, &target_, nullptr);
        pixels_ = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&target_), nullptr);
        return converter_ && pixels_;
    }

    void present(GstBuffer* buffer, VideoSurface& surface) {
        GstVideoFrame source;
        if (!gst_video_frame_map(&source, &source_, buffer, GST_MAP_READ))
            return;
        GstVideoFrame target;
        if (gst_video_frame_map(&target, &target_, pixels_, GST_MAP_WRITE)) {
            gst_video_converter_frame(converter_, &source, &target);
            surface.presentFrame(
                static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&target, 0)),
                GST_VIDEO_FRAME_WIDTH(&target), GST_VIDEO_FRAME_HEIGHT(&target),
                GST_VIDEO_FRAME_PLANE_STRIDE(&target, 0));
            gst_video_frame_unmap(&target);
        }
        gst_video_frame_unmap(&source);
    }

    void release() {
        if (converter_)
            gst_video_converter_free(converter_);
        if (pixels_)
            gst_buffer_unref(pixels_);
        if (caps_)
            gst_caps_unref(caps_);
        converter_ = nullptr;
        pixels_ = nullptr;
        caps_ = nullptr;
    }

    const std::intptr_t surfaceHandle_;
    GstCaps* caps_ = nullptr;
    GstVideoInfo source_{};
    GstVideoInfo target_{};
    GstVideoConverter* converter_ = nullptr;
    GstBuffer* pixels_ = nullptr;
};

// A frame whose time has not come. A playing video that pauses prerolls its next frame,
// not yet due: kept back, the paused video goes on showing the frame it was paused on.
// The frame an open or a seek prerolls is due (no clock yet, or one running past it).
bool notYetDue(GstAppSink* sink, GstSample* sample) {
    GstClock* clock = gst_element_get_clock(GST_ELEMENT(sink));
    if (!clock)
        return false;
    const GstClockTime clockTime = gst_clock_get_time(clock);
    const GstClockTime base = gst_element_get_base_time(GST_ELEMENT(sink));
    gst_object_unref(clock);
    const GstClockTime now = clockTime > base ? clockTime - base : 0;
    const GstClockTime due =
        gst_segment_to_running_time(gst_sample_get_segment(sample), GST_FORMAT_TIME,
                                    GST_BUFFER_PTS(gst_sample_get_buffer(sample)));
    return GST_CLOCK_TIME_IS_VALID(due) && due > now;
}

// Every sample is pulled, shown or not, so the sink keeps running in step with the clock.
GstFlowReturn onPreroll(GstAppSink* sink, gpointer converter) {
    GstSample* sample = gst_app_sink_pull_preroll(sink);
    if (!sample)
        return GST_FLOW_EOS;
    if (!notYetDue(sink, sample))
        static_cast<FrameConverter*>(converter)->hand(sample);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

GstFlowReturn onPlayed(GstAppSink* sink, gpointer converter) {
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_EOS;
    static_cast<FrameConverter*>(converter)->hand(sample);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void deleteConverter(gpointer converter) {
    delete static_cast<FrameConverter*>(converter);
}

}  // namespace

// Raw video in whatever format the decoder gives lets playbin's own converter pass frames
// through untouched; only the frames a surface shows are converted, here.
GstElement* makeSurfaceSink(std::intptr_t surfaceHandle) {
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    if (!sink)
        throw Error(errors::CannotLoadDriver, "the GStreamer appsink element is not installed");
    GstCaps* caps = gst_caps_new_empty_simple("video/x-raw");
    g_object_set(sink, "caps", caps, "sync", TRUE, "enable-last-sample", FALSE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = onPreroll;
    callbacks.new_sample = onPlayed;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, new FrameConverter(surfaceHandle),
                               deleteConverter);
    return sink;
}

}  // namespace tessaro::media::gst
