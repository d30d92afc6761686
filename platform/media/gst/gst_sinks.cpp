// SPDX-License-Identifier: MIT
#include "platform/media/gst/gst_sinks.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>

#include <tessaro/command_service.h>
#include "platform/media/gst/surface_sink.h"
#include "platform/media/player_backend.h"

namespace tessaro::media::gst {
namespace {

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
    return makeSurfaceSink(surfaceHandle);
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
