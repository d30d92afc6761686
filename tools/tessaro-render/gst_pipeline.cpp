// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/gst_pipeline.h"

#include <mutex>

#include <tessaro/error.h>

namespace tessaro::render {
namespace {

// The service's number for a failing device (the classic "internal error").
inline constexpr int PipelineFailed = 277;

std::string errorText(GstMessage* message) {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    std::string text = error ? error->message : "unknown GStreamer error";
    g_clear_error(&error);
    g_free(debug);
    return text;
}

}  // namespace

void initGstreamer() {
    static std::once_flag initialized;
    std::call_once(initialized, [] { gst_init(nullptr, nullptr); });
}

void PipelineRelease::operator()(GstElement* pipeline) const {
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

Pipeline launchPipeline(const std::string& description) {
    initGstreamer();
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error != nullptr) {
        const std::string text = error->message;
        g_clear_error(&error);
        if (pipeline != nullptr)
            gst_object_unref(pipeline);
        throw Error(PipelineFailed, "GStreamer cannot build \"" + description + "\": " + text);
    }
    return Pipeline(pipeline);
}

GstElement* pipelineElement(GstElement* pipeline, const char* name) {
    GstElement* element = gst_bin_get_by_name(GST_BIN(pipeline), name);
    gst_object_unref(element);
    return element;
}

void throwPendingError(GstElement* pipeline) {
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    gst_object_unref(bus);
    if (message == nullptr)
        return;
    const std::string text = errorText(message);
    gst_message_unref(message);
    throw Error(PipelineFailed, text);
}

void changeState(GstElement* pipeline, GstState state) {
    if (gst_element_set_state(pipeline, state) != GST_STATE_CHANGE_FAILURE &&
        gst_element_get_state(pipeline, nullptr, nullptr, GST_CLOCK_TIME_NONE) !=
            GST_STATE_CHANGE_FAILURE)
        return;
    throwPendingError(pipeline);
    throw Error(PipelineFailed, "GStreamer pipeline failed to start");
}

}  // namespace tessaro::render
