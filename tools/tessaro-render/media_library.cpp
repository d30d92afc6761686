// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/media_library.h"

#include <gst/pbutils/pbutils.h>

#include <filesystem>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include <tessaro/picture.h>

namespace tessaro::render {
namespace {

void requireFile(const std::string& path, int missingNumber) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored))
        throw Error(missingNumber, "missing media file " + path);
}

template <typename T>
struct GObjectRelease {
    void operator()(T* object) const { g_object_unref(object); }
};

// Whether the file holds a moving picture, asked of GStreamer's discoverer.
bool holdsVideo(const std::string& path) {
    media::gst::initGstreamer();
    const auto fail = [&](const std::string& why) {
        return Error(media::errors::InvalidFile, "cannot decode " + path + ": " + why);
    };
    GError* error = nullptr;
    std::unique_ptr<GstDiscoverer, GObjectRelease<GstDiscoverer>> discoverer(
        gst_discoverer_new(30 * GST_SECOND, &error));
    if (!discoverer) {
        g_clear_error(&error);
        throw fail("no discoverer");
    }
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    std::unique_ptr<GstDiscovererInfo, GObjectRelease<GstDiscovererInfo>> info(
        gst_discoverer_discover_uri(discoverer.get(), uri, &error));
    g_free(uri);
    const std::string why = error ? error->message : "not a media file";
    g_clear_error(&error);
    if (!info || gst_discoverer_info_get_result(info.get()) != GST_DISCOVERER_OK)
        throw fail(why);
    bool video = false;
    GList* streams = gst_discoverer_info_get_video_streams(info.get());
    for (GList* s = streams; s != nullptr; s = s->next)
        video = video || !gst_discoverer_video_info_is_image(GST_DISCOVERER_VIDEO_INFO(s->data));
    gst_discoverer_stream_info_list_free(streams);
    return video;
}

// The frame count is that of the decoded stream, so that the render never asks for a
// frame the decoder does not give.
MediaFacts readVideo(const std::string& path) {
    MediaFacts facts;
    facts.hasVideo = true;
    VideoFrames frames(path, "I420");
    Frame frame;
    while (frames.next(frame)) {
        ++facts.frameCount;
        facts.width = frame.width;
        facts.height = frame.height;
    }
    facts.rateNumerator = frames.rateNumerator();
    facts.rateDenominator = frames.rateDenominator();
    if (facts.frameCount == 0 || facts.rateNumerator <= 0 || facts.rateDenominator <= 0)
        throw Error(media::errors::InvalidFile,
                    "cannot decode " + path + ": no frames at a stated frame rate");
    return facts;
}

MediaFacts readSound(const std::string& path) {
    MediaFacts facts;
    facts.sound = std::make_shared<const Pcm>(decodeAudio(path));
    return facts;
}

}  // namespace

double MediaFacts::frameRate() const {
    return hasVideo ? static_cast<double>(rateNumerator) / rateDenominator : 0.0;
}

double MediaFacts::lengthMs() const {
    if (hasVideo)
        return static_cast<double>(frameCount) * 1000.0 / frameRate();
    return sound ? sound->lengthMs() : 0.0;
}

const MediaFacts& MediaLibrary::media(const std::string& path) {
    if (const auto known = media_.find(path); known != media_.end())
        return known->second;
    requireFile(path, media::errors::FileNotFound);
    return media_.emplace(path, holdsVideo(path) ? readVideo(path) : readSound(path)).first->second;
}

const Frame& MediaLibrary::picture(const std::string& path) {
    if (const auto known = pictures_.find(path); known != pictures_.end())
        return known->second;
    requireFile(path, host::errors::FileNotFound);
    try {
        return pictures_.emplace(path, decodePicture(path)).first->second;
    } catch (const Error& error) {
        throw Error(host::errors::InvalidPicture, error.text());
    }
}

}  // namespace tessaro::render
