#include "platform/media/gst/surface_sink.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include "platform/media/command_service.h"
#include "platform/media/video_surface.h"
#include "platform/values/error.h"

namespace tessaro::media::gst {
namespace {

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

// Every sample is pulled, shown or not, so the sink keeps running in step with the clock.
template <GstSample* (*pull)(GstAppSink*)>
GstFlowReturn onSample(GstAppSink* sink, gpointer converter) {
    GstSample* sample = pull(sink);
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
    callbacks.new_preroll = onSample<gst_app_sink_pull_preroll>;
    callbacks.new_sample = onSample<gst_app_sink_pull_sample>;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, new FrameConverter(surfaceHandle),
                               deleteConverter);
    return sink;
}

}  // namespace tessaro::media::gst
