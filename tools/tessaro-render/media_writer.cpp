// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/media_writer.h"

#include <gst/app/gstappsrc.h>

#include <algorithm>
#include <optional>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "tools/tessaro-render/media_decoding.h"

namespace tessaro::render {
namespace {

using media::gst::pipelineElement;

// Writing is no service command; its failures take the service's internal error.
Error writeFailure(const std::string& text) {
    return Error(media::errors::InternalError, text);
}

// The AAC encoder starts its stream with this many sample frames of its own, and the MP4
// muxer writes no edit list that would tell players to skip them: every sound would be
// heard this much late. The writer starts the sound that much into the mix instead and
// pads its end, so that decoded sample n is sample n of the mix from the priming on.
inline constexpr std::int64_t AacPrimingFrames = 1024;

struct Encoding {
    std::string video;
    std::string sound;
    std::string mux;
};

// Quality-driven rates: a held frame costs next to nothing, a moving one what it needs.
// The H.264 stream is High profile, which every browser and phone decodes.
Encoding encoding(Container container) {
    if (container == Container::Mp4)
        return {
            "x264enc speed-preset=veryfast pass=quant quantizer=21 key-int-max=250 ! "
            "video/x-h264,profile=high ! h264parse",
            "avenc_aac bitrate=128000 ! aacparse", "mp4mux name=mux faststart=true"};
    return {
        "vp9enc deadline=1 cpu-used=8 end-usage=cq cq-level=24 target-bitrate=2000000 "
        "keyframe-max-dist=250 row-mt=true",
        "opusenc bitrate=96000", "webmmux name=mux"};
}

std::string description(Container container, const RawVideo& video) {
    const Encoding e = encoding(container);
    const std::string videoCaps = "video/x-raw,format=" + video.format +
                                  ",width=" + std::to_string(video.width) +
                                  ",height=" + std::to_string(video.height) +
                                  ",framerate=" + std::to_string(video.rateNumerator) + "/" +
                                  std::to_string(video.rateDenominator);
    const std::string soundCaps =
        "audio/x-raw,format=S16LE,layout=interleaved,rate=" + std::to_string(AudioRate) +
        ",channels=" + std::to_string(AudioChannels);
    // Bounded queues: a push blocks until the encoders have caught up.
    return "appsrc name=video format=time block=true max-bytes=20000000 caps=\"" + videoCaps +
           "\" ! queue ! videoconvert ! " + e.video + " ! mux. " +
           "appsrc name=sound format=time block=true max-bytes=2000000 caps=\"" + soundCaps +
           "\" ! queue ! audioconvert ! " + e.sound + " ! mux. " + e.mux + " ! filesink name=out";
}

GstToc* chapterToc(const std::vector<Chapter>& chapters) {
    GstToc* toc = gst_toc_new(GST_TOC_SCOPE_GLOBAL);
    GstTocEntry* edition = gst_toc_entry_new(GST_TOC_ENTRY_TYPE_EDITION, "clips");
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const std::string uid = "clip" + std::to_string(i + 1);
        GstTocEntry* entry = gst_toc_entry_new(GST_TOC_ENTRY_TYPE_CHAPTER, uid.c_str());
        gst_toc_entry_set_start_stop_times(entry, static_cast<gint64>(chapters[i].start),
                                           static_cast<gint64>(chapters[i].stop));
        GstTagList* tags = gst_tag_list_new(GST_TAG_TITLE, chapters[i].title.c_str(), nullptr);
        gst_toc_entry_set_tags(entry, tags);
        gst_toc_entry_append_sub_entry(edition, entry);
    }
    gst_toc_append_entry(toc, edition);
    return toc;
}

void push(GstElement* source, GstBuffer* buffer) {
    if (gst_app_src_push_buffer(GST_APP_SRC(source), buffer) != GST_FLOW_OK)
        throw writeFailure("the encoder stopped taking data");
}

}  // namespace

MediaWriter::MediaWriter(const std::string& path, Container container, const RawVideo& video,
                         const std::string& title, const std::vector<Chapter>& chapters)
    : video_(video),
      soundSkip_(container == Container::Mp4 ? AacPrimingFrames : 0),
      pipeline_(media::gst::launchPipeline(description(container, video))),
      videoSource_(pipelineElement(pipeline_.get(), "video")),
      soundSource_(pipelineElement(pipeline_.get(), "sound")) {
    GstElement* mux = pipelineElement(pipeline_.get(), "mux");
    g_object_set(pipelineElement(pipeline_.get(), "out"), "location", path.c_str(), nullptr);
    gst_tag_setter_add_tags(GST_TAG_SETTER(mux), GST_TAG_MERGE_REPLACE, GST_TAG_TITLE,
                            title.c_str(), nullptr);
    if (container == Container::WebM && !chapters.empty()) {
        GstToc* toc = chapterToc(chapters);
        gst_toc_setter_set_toc(GST_TOC_SETTER(mux), toc);
        gst_toc_unref(toc);
    }
    // Not waited for: the muxer completes its state change only once data arrives. A
    // file that cannot be opened fails the change at once.
    if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        const std::string lead = "cannot write " + path;
        const std::optional<Error> failure = media::gst::pendingError(pipeline_.get(), lead);
        throw writeFailure(failure ? failure->text() : lead);
    }
}

void MediaWriter::pushFrame(GstBuffer* frame, std::int64_t k) {
    GstBuffer* copy = gst_buffer_copy(frame);
    const auto d = static_cast<guint64>(video_.rateDenominator);
    const auto n = static_cast<guint64>(video_.rateNumerator);
    const auto at = [&](std::int64_t i) {
        return gst_util_uint64_scale(static_cast<guint64>(i), GST_SECOND * d, n);
    };
    GST_BUFFER_PTS(copy) = at(k);
    GST_BUFFER_DTS(copy) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(copy) = at(k + 1) - at(k);
    push(videoSource_, copy);
}

void MediaWriter::pushSound(std::vector<std::int16_t> samples, std::int64_t firstFrame) {
    const auto skip = std::clamp<std::int64_t>(
        soundSkip_ - firstFrame, 0, static_cast<std::int64_t>(samples.size() / AudioChannels));
    samples.erase(samples.begin(), samples.begin() + skip * AudioChannels);
    firstFrame += skip;
    if (samples.empty())
        return;
    const std::size_t frames = samples.size() / AudioChannels;
    soundEnd_ = firstFrame + static_cast<std::int64_t>(frames);
    auto* owned = new std::vector<std::int16_t>(std::move(samples));
    GstBuffer* buffer = gst_buffer_new_wrapped_full(
        GST_MEMORY_FLAG_READONLY, owned->data(), owned->size() * sizeof(std::int16_t), 0,
        owned->size() * sizeof(std::int16_t), owned,
        [](gpointer data) { delete static_cast<std::vector<std::int16_t>*>(data); });
    GST_BUFFER_PTS(buffer) =
        gst_util_uint64_scale(static_cast<guint64>(firstFrame - soundSkip_), GST_SECOND, AudioRate);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(frames, GST_SECOND, AudioRate);
    push(soundSource_, buffer);
}

void MediaWriter::finish() {
    if (soundSkip_ > 0) {
        const std::int64_t end = std::max(soundEnd_, soundSkip_);
        pushSound(std::vector<std::int16_t>(soundSkip_ * AudioChannels, 0), end);
    }
    gst_app_src_end_of_stream(GST_APP_SRC(videoSource_));
    gst_app_src_end_of_stream(GST_APP_SRC(soundSource_));
    GstBus* bus = gst_element_get_bus(pipeline_.get());
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, GST_CLOCK_TIME_NONE, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        const Error failure = media::gst::errorFromMessage(message, "encoding failed");
        gst_message_unref(message);
        throw writeFailure(failure.text());
    }
    gst_message_unref(message);
    // Down to NULL the sink closes the file; a change down to NULL completes at once.
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

}  // namespace tessaro::render
