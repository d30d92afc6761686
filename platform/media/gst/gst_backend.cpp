#include "platform/media/gst/gst_backend.h"

#include <gst/gst.h>

#include <filesystem>
#include <mutex>
#include <string>

#include "platform/media/gst/gst_player.h"
#include "platform/media/gst/gst_sinks.h"
#include "platform/media/video_surface.h"

namespace tessaro::media {
namespace {

using gst::Pipeline;

constexpr GstClockTime prerollWait = 5 * GST_SECOND;

void initGstreamerOnce() {
    static std::once_flag initialized;
    std::call_once(initialized, [] { gst_init(nullptr, nullptr); });
}

void requireFile(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored))
        throw Error(errors::FileNotFound, "cannot open " + path + ": no such file");
}

Pipeline playbinFor(const std::string& path, std::intptr_t surfaceHandle) {
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        throw Error(errors::CannotLoadDriver, "the GStreamer playbin element is not installed");
    Pipeline pipeline(GST_ELEMENT(gst_object_ref_sink(playbin)));
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    g_object_set(playbin, "uri", uri, nullptr);
    g_free(uri);
    // One sink at a time: the playbin owns each as soon as it is set, should the next throw.
    g_object_set(playbin, "video-sink", gst::makeVideoSink(surfaceHandle), nullptr);
    g_object_set(playbin, "audio-sink", gst::makeAudioSink(), nullptr);
    return pipeline;
}

[[noreturn]] void failOpen(const std::string& path, GstMessage* error) {
    Error failure = gst::errorFromMessage(error, "cannot open " + path);
    gst_message_unref(error);
    throw failure;
}

// Waits, bounded, until the first frame and sample sit in the sinks, so that a file
// that cannot be decoded fails here rather than once playing.
void preroll(GstElement* playbin, const std::string& path) {
    if (gst_element_set_state(playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_SUCCESS)
        return;
    GstBus* bus = gst_element_get_bus(playbin);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, prerollWait, static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    if (!message)
        throw Error(errors::InvalidFile, "cannot open " + path + ": no picture or sound in time");
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        failOpen(path, message);
    gst_message_unref(message);
}

// A failed open may have shown its first frame already.
void clearSurface(std::intptr_t surfaceHandle) {
    if (surfaceHandle != 0)
        withVideoSurface(surfaceHandle, [](VideoSurface& surface) { surface.clearFrame(); });
}

class GstBackend final : public PlayerBackend {
  public:
    GstBackend() { initGstreamerOnce(); }

    std::unique_ptr<Player> open(const std::string& path, std::intptr_t parentWindow) override {
        requireFile(path);
        Pipeline playbin = playbinFor(path, parentWindow);
        try {
            preroll(playbin.get(), path);
        } catch (const Error&) {
            playbin.reset();
            clearSurface(parentWindow);
            throw;
        }
        return std::make_unique<gst::GstPlayer>(std::move(playbin), parentWindow);
    }
};

}  // namespace

std::unique_ptr<PlayerBackend> makeGstBackend() {
    return std::make_unique<GstBackend>();
}

}  // namespace tessaro::media
