// SPDX-License-Identifier: MIT
#include "platform/media/gst/gst_backend.h"

#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/media/gst/file_range_source.h"
#include "platform/media/gst/gst_pipeline.h"
#include "platform/media/gst/gst_player.h"
#include "platform/media/gst/gst_sinks.h"
#include "platform/media/gst/mpeg_video_scan.h"
#include "platform/media/gst/narration_player.h"
#include "platform/media/video_surface.h"

namespace tessaro::media {
namespace {

using gst::MpegVideoScan;
using gst::Pipeline;
using gst::playFileFrom;
using gst::preroll;
using gst::scanMpegVideo;

void requireFile(const std::string& path) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored))
        throw Error(errors::FileNotFound, "cannot open " + path + ": no such file");
}

// Playbin's software volume and colour balance are elements on every sample and frame that
// nothing here ever adjusts.
void leaveOutUnusedFilters(GstElement* playbin) {
    GParamSpec* spec = g_object_class_find_property(G_OBJECT_GET_CLASS(playbin), "flags");
    if (!spec || !G_IS_PARAM_SPEC_FLAGS(spec))
        return;
    GFlagsClass* kinds = G_PARAM_SPEC_FLAGS(spec)->flags_class;
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    for (const char* unused : {"soft-volume", "soft-colorbalance"}) {
        if (const GFlagsValue* flag = g_flags_get_value_by_nick(kinds, unused))
            flags &= ~flag->value;
    }
    g_object_set(playbin, "flags", flags, nullptr);
}

// The program stream demuxer takes no new stream after two seconds of the stream: a video
// whose first packet comes later (a screen recorder's, a capture card's) would be lost, so
// such a file is played from the pack that carries it, without the sound before it.
constexpr double LatestVideoLeadSeconds = 1;

std::uint64_t playedFrom(const MpegVideoScan& scan) {
    return scan.container == MpegVideoScan::Container::ProgramStream &&
                   scan.videoLeadSeconds > LatestVideoLeadSeconds
               ? scan.firstVideoPack
               : 0;
}

// What GStreamer's program stream demuxer cannot play: it takes every video stream for
// MPEG video unless a stream map says otherwise, and fails on anything else.
void refuseUnplayable(const std::string& path, const MpegVideoScan& scan) {
    if (scan.container == MpegVideoScan::Container::ProgramStream &&
        scan.codec == MpegVideoScan::Codec::H264)
        throw Error(errors::InvalidFile,
                    "cannot open " + path +
                        ": video codec H.264 in an MPEG program stream is not supported");
}

Pipeline playbinFor(const std::string& path, std::intptr_t surfaceHandle, std::uint64_t from) {
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        throw Error(errors::CannotLoadDriver, "the GStreamer playbin element is not installed");
    Pipeline pipeline(GST_ELEMENT(gst_object_ref_sink(playbin)));
    if (from > 0) {
        playFileFrom(playbin, path, from);
    } else {
        gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
        g_object_set(playbin, "uri", uri, nullptr);
        g_free(uri);
    }
    leaveOutUnusedFilters(playbin);
    // One sink at a time: the playbin owns each as soon as it is set, should the next throw.
    g_object_set(playbin, "video-sink", gst::makeVideoSink(surfaceHandle), nullptr);
    g_object_set(playbin, "audio-sink", gst::makeAudioSink(), nullptr);
    return pipeline;
}

// The type of a file whose head names sound alone (MPEG audio, possibly ID3-tagged, WAV,
// ...), which is played as a narration; empty for anything else, which plays through a
// playbin, which also reports what cannot be decoded at all.
std::string soundKind(const std::string& path) {
    std::array<guint8, 16 * 1024> head{};
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto length = static_cast<gsize>(file.gcount());
    GstCaps* caps = gst_type_find_helper_for_data(nullptr, head.data(), length, nullptr);
    if (!caps)
        return {};
    const std::string_view name = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    const bool sound =
        name.starts_with("audio/") || name == "application/x-id3" || name == "application/x-apetag";
    gchar* text = gst_caps_to_string(caps);
    const std::string kind = sound ? text : "";
    g_free(text);
    gst_caps_unref(caps);
    return kind;
}

gst::CountedVideo countedVideo(const MpegVideoScan& scan) {
    if (scan.codec != MpegVideoScan::Codec::MpegVideo || scan.frameRate <= 0)
        return {};
    return {scan.frames, scan.frameRate};
}

// A failed open may have shown its first frame already.
void clearSurface(std::intptr_t surfaceHandle) {
    if (surfaceHandle != 0)
        withVideoSurface(surfaceHandle, [](VideoSurface& surface) { surface.clearFrame(); });
}

class GstBackend final : public PlayerBackend {
  public:
    explicit GstBackend(bool narrationOutputAtOnce) {
        gst::initGstreamer();
        outputs_ = std::make_shared<gst::AudioOutputs>();
        if (narrationOutputAtOnce)
            outputs_->prepare();
    }

    // Any device opened is a sign that narration is to come: its output starts aside.
    std::unique_ptr<Player> open(const std::string& path, std::intptr_t parentWindow) override {
        requireFile(path);
        outputs_->prepare();
        if (const std::string kind = soundKind(path); !kind.empty())
            return gst::openNarration(path, kind, outputs_);
        const MpegVideoScan scan = scanMpegVideo(path);
        refuseUnplayable(path, scan);
        Pipeline playbin = playbinFor(path, parentWindow, playedFrom(scan));
        try {
            preroll(playbin.get(), path);
        } catch (const Error&) {
            playbin.reset();
            clearSurface(parentWindow);
            throw;
        }
        return std::make_unique<gst::GstPlayer>(std::move(playbin), parentWindow,
                                                countedVideo(scan));
    }

  private:
    // Narration devices play through these in turn; made once GStreamer is set up.
    std::shared_ptr<gst::AudioOutputs> outputs_;
};

}  // namespace

std::unique_ptr<PlayerBackend> makeGstBackend(bool narrationOutputAtOnce) {
    return std::make_unique<GstBackend>(narrationOutputAtOnce);
}

}  // namespace tessaro::media
