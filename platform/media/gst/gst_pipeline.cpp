// SPDX-License-Identifier: MIT
#include "platform/media/gst/gst_pipeline.h"

#include <mutex>

#include <tessaro/command_service.h>
#include <tessaro/error.h>

namespace tessaro::media::gst {
namespace {

constexpr GstClockTime PrerollWait = 5 * GST_SECOND;

[[noreturn]] void failOpen(const std::string& path, GstMessage* error) {
    Error failure = errorFromMessage(error, "cannot open " + path);
    gst_message_unref(error);
    throw failure;
}

}  // namespace

void initGstreamer() {
    static std::once_flag initialized;
    std::call_once(initialized, [] { gst_init(nullptr, nullptr); });
}

Pipeline launchPipeline(const std::string& description) {
    initGstreamer();
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error == nullptr)
        return Pipeline(pipeline);
    const bool missing =
        error->domain == GST_PARSE_ERROR && error->code == GST_PARSE_ERROR_NO_SUCH_ELEMENT;
    const std::string text = error->message;
    g_clear_error(&error);
    if (pipeline != nullptr)
        gst_object_unref(pipeline);
    throw Error(static_cast<int>(missing ? errors::CannotLoadDriver : errors::InternalError),
                "GStreamer cannot build \"" + description + "\": " + text);
}

GstElement* pipelineElement(GstElement* pipeline, const char* name) {
    GstElement* element = gst_bin_get_by_name(GST_BIN(pipeline), name);
    if (element != nullptr)
        gst_object_unref(element);
    return element;
}

std::optional<Error> pendingError(GstElement* pipeline, const std::string& lead) {
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    gst_object_unref(bus);
    if (message == nullptr)
        return std::nullopt;
    Error failure = errorFromMessage(message, lead);
    gst_message_unref(message);
    return failure;
}

void changeState(GstElement* pipeline, GstState state, const std::string& lead) {
    if (gst_element_set_state(pipeline, state) != GST_STATE_CHANGE_FAILURE &&
        gst_element_get_state(pipeline, nullptr, nullptr, GST_CLOCK_TIME_NONE) !=
            GST_STATE_CHANGE_FAILURE)
        return;
    if (std::optional<Error> failure = pendingError(pipeline, lead))
        throw *failure;
    throw Error(errors::InvalidFile, lead + ": GStreamer pipeline failed to start");
}

Error errorFromMessage(GstMessage* error, const std::string& lead) {
    GError* detail = nullptr;
    gst_message_parse_error(error, &detail, nullptr);
    const bool unreadable =
        detail->domain == GST_RESOURCE_ERROR && (detail->code == GST_RESOURCE_ERROR_NOT_FOUND ||
                                                 detail->code == GST_RESOURCE_ERROR_OPEN_READ);
    Error failure(static_cast<int>(unreadable ? errors::FileNotFound : errors::InvalidFile),
                  lead + ": " + detail->message);
    g_error_free(detail);
    return failure;
}

void PipelineRelease::operator()(GstElement* pipeline) const {
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

GstElement* makeElement(const char* factory) {
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (!element)
        throw Error(errors::CannotLoadDriver,
                    std::string("the GStreamer ") + factory + " element is not installed");
    return element;
}

void preroll(GstElement* pipeline, const std::string& path,
             const std::function<void(GstMessage*)>& other) {
    if (gst_element_set_state(pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_SUCCESS)
        return;
    GstBus* bus = gst_element_get_bus(pipeline);
    const GstClockTime deadline = gst_util_get_timestamp() + PrerollWait;
    GstMessage* message = nullptr;
    for (GstClockTime now = gst_util_get_timestamp(); now < deadline;
         now = gst_util_get_timestamp()) {
        message = gst_bus_timed_pop(bus, deadline - now);
        if (!message || GST_MESSAGE_TYPE(message) == GST_MESSAGE_ASYNC_DONE ||
            GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
            break;
        if (other)
            other(message);
        gst_message_unref(message);
        message = nullptr;
    }
    gst_object_unref(bus);
    if (!message)
        throw Error(errors::InvalidFile, "cannot open " + path + ": no picture or sound in time");
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        failOpen(path, message);
    gst_message_unref(message);
}

unsigned bitRateOf(const GstTagList* tags) {
    guint rate = 0;
    if (tags && !gst_tag_list_get_uint(tags, GST_TAG_NOMINAL_BITRATE, &rate))
        gst_tag_list_get_uint(tags, GST_TAG_BITRATE, &rate);
    return rate;
}

double durationMs(GstElement* pipeline, double& knownMs, unsigned bitRate) {
    gint64 length = 0;
    if (knownMs <= 0 && gst_element_query_duration(pipeline, GST_FORMAT_TIME, &length) &&
        length > 0)
        knownMs = static_cast<double>(length) / GST_MSECOND;
    if (knownMs > 0)
        return knownMs;
    if (bitRate == 0 || !gst_element_query_duration(pipeline, GST_FORMAT_BYTES, &length) ||
        length <= 0)
        return 0;
    return static_cast<double>(length) * 8 * 1000 / bitRate;
}

}  // namespace tessaro::media::gst
