#include "platform/media/gst/gst_sinks.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/media/command_service.h"
#include "platform/media/player_backend.h"
#include "platform/media/trace.h"
#include "platform/media/video_surface.h"

namespace tessaro::media::gst {
namespace {

std::intptr_t handleOf(gpointer userData) {
    return reinterpret_cast<std::intptr_t>(userData);
}

// "frame 540.000 ms shown in window 7": the frame's stream time, so that a trace reader
// can tell which frame of the video a surface showed, and when.
void traceShownFrame(GstSample* sample, std::intptr_t surfaceHandle) {
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

void presentSample(GstSample* sample, std::intptr_t surfaceHandle) {
    if (surfaceHandle == 0)
        return;
    withVideoSurface(surfaceHandle, [sample, surfaceHandle](VideoSurface& surface) {
        GstVideoInfo info;
        if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
            return;
        GstVideoFrame frame;
        if (!gst_video_frame_map(&frame, &info, gst_sample_get_buffer(sample), GST_MAP_READ))
            return;
        surface.presentFrame(
            static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
            GST_VIDEO_FRAME_WIDTH(&frame), GST_VIDEO_FRAME_HEIGHT(&frame),
            GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
        gst_video_frame_unmap(&frame);
        traceShownFrame(sample, surfaceHandle);
    });
}

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
GstFlowReturn onPreroll(GstAppSink* sink, gpointer userData) {
    GstSample* sample = gst_app_sink_pull_preroll(sink);
    if (!sample)
        return GST_FLOW_EOS;
    if (!notYetDue(sink, sample))
        presentSample(sample, handleOf(userData));
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

GstFlowReturn onPlayed(GstAppSink* sink, gpointer userData) {
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_EOS;
    presentSample(sample, handleOf(userData));
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

GstElement* surfaceSink(std::intptr_t surfaceHandle) {
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    if (!sink)
        throw Error(errors::CannotLoadDriver, "the GStreamer appsink element is not installed");
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "RGBx", nullptr);
    g_object_set(sink, "caps", caps, "sync", TRUE, "enable-last-sample", FALSE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = onPreroll;
    callbacks.new_sample = onPlayed;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks,
                               reinterpret_cast<gpointer>(surfaceHandle), nullptr);
    return sink;
}

GstElement* describedSink(const char* variable, const char* description) {
    GError* error = nullptr;
    GstElement* sink = gst_parse_bin_from_description(description, TRUE, &error);
    if (!sink) {
        const std::string reason = error ? error->message : "unknown element";
        g_clear_error(&error);
        throw Error(errors::CannotLoadDriver,
                    std::string(variable) + " \"" + description + "\" cannot be built: " + reason);
    }
    g_clear_error(&error);
    return sink;
}

const char* overrideOf(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value ? value : nullptr;
}

// A sound card node, or a socket of a sound server the session can reach.
bool machineShowsAudioDevice() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator("/dev/snd", ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("pcmC") && name.ends_with("p"))
            return true;
    }
    if (overrideOf("PULSE_SERVER"))
        return true;
    if (const char* runtime = overrideOf("XDG_RUNTIME_DIR")) {
        const fs::path folder(runtime);
        return fs::exists(folder / "pulse" / "native", ignored) ||
               fs::exists(folder / "pipewire-0", ignored);
    }
    return false;
}

bool isFakeSink(GstElement* element) {
    GstElementFactory* factory = gst_element_get_factory(element);
    const std::string name = factory ? GST_OBJECT_NAME(factory) : "";
    return name == "fakesink" || name == "fakeaudiosink";
}

// autoaudiosink falls back to a fake child when no real output opens.
bool autoAudioSinkOpensDevice() {
    GstElement* probe = gst_element_factory_make("autoaudiosink", nullptr);
    if (!probe)
        return false;
    gst_object_ref_sink(probe);
    bool real = false;
    if (gst_element_set_state(probe, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        GstIterator* children = gst_bin_iterate_elements(GST_BIN(probe));
        GValue child = G_VALUE_INIT;
        while (gst_iterator_next(children, &child) == GST_ITERATOR_OK) {
            real = real || !isFakeSink(GST_ELEMENT(g_value_get_object(&child)));
            g_value_reset(&child);
        }
        g_value_unset(&child);
        gst_iterator_free(children);
    }
    gst_element_set_state(probe, GST_STATE_NULL);
    gst_object_unref(probe);
    return real;
}

bool machineHasAudioOutput() {
    static std::once_flag probed;
    static bool present = false;
    std::call_once(probed,
                   [] { present = machineShowsAudioDevice() && autoAudioSinkOpensDevice(); });
    return present;
}

}  // namespace

GstElement* makeVideoSink(std::intptr_t surfaceHandle) {
    if (const char* description = overrideOf("TESSARO_VIDEO_SINK"))
        return describedSink("TESSARO_VIDEO_SINK", description);
    return surfaceSink(surfaceHandle);
}

GstElement* makeAudioSink() {
    if (const char* description = overrideOf("TESSARO_AUDIO_SINK"))
        return describedSink("TESSARO_AUDIO_SINK", description);
    if (machineHasAudioOutput())
        return gst_element_factory_make("autoaudiosink", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

}  // namespace tessaro::media::gst
