// SPDX-License-Identifier: MIT
#include "platform/media/gst/gst_player.h"

#include <algorithm>
#include <utility>

#include <tessaro/command_service.h>
#include "platform/media/video_surface.h"

namespace tessaro::media::gst {
namespace {

constexpr GstClockTime SeekWait = 5 * GST_SECOND;

double toMs(gint64 ns) {
    return static_cast<double>(ns) / GST_MSECOND;
}

double videoFrameRate(GstElement* playbin) {
    GstPad* pad = nullptr;
    g_signal_emit_by_name(playbin, "get-video-pad", 0, &pad);
    if (!pad)
        return 0;
    double rate = 0;
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        gint numerator = 0;
        gint denominator = 1;
        if (gst_structure_get_fraction(gst_caps_get_structure(caps, 0), "framerate", &numerator,
                                       &denominator) &&
            denominator > 0)
            rate = static_cast<double>(numerator) / denominator;
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    return rate;
}

int videoStreamCount(GstElement* playbin) {
    gint count = 0;
    g_object_get(playbin, "n-video", &count, nullptr);
    return count;
}

// Bits per second of the first audio stream as its parser tagged it, 0 when untagged.
unsigned audioBitRate(GstElement* playbin) {
    GstTagList* tags = nullptr;
    g_signal_emit_by_name(playbin, "get-audio-tags", 0, &tags);
    const unsigned rate = bitRateOf(tags);
    if (tags)
        gst_tag_list_unref(tags);
    return rate;
}

// Where a device's position is asked, with a reference of its own: the sink that shows
// a video, else the pipeline.
GstElement* positionSourceOf(GstElement* playbin, bool hasVideo) {
    GstElement* sink = nullptr;
    if (hasVideo)
        g_object_get(playbin, "video-sink", &sink, nullptr);
    return sink ? sink : GST_ELEMENT(gst_object_ref(playbin));
}

gint64 prerolledPosition(GstElement* source) {
    gint64 position = 0;
    return gst_element_query_position(source, GST_FORMAT_TIME, &position) ? position : 0;
}

double countedLengthMs(const CountedVideo& counted) {
    return counted.frames > 0 && counted.frameRate > 0
               ? static_cast<double>(counted.frames) * 1000.0 / counted.frameRate
               : 0;
}

std::string playedFile(GstElement* playbin) {
    gchar* uri = nullptr;
    g_object_get(playbin, "current-uri", &uri, nullptr);
    gchar* path = uri ? g_filename_from_uri(uri, nullptr, nullptr) : nullptr;
    const std::string file = path ? path : "the media file";
    g_free(path);
    g_free(uri);
    return file;
}

}  // namespace

GstPlayer::GstPlayer(Pipeline playbin, std::intptr_t surfaceHandle, CountedVideo counted)
    : playbin_(std::move(playbin)),
      bus_(gst_element_get_bus(playbin_.get())),
      surfaceHandle_(surfaceHandle),
      hasVideo_(videoStreamCount(playbin_.get()) > 0),
      positionSource_(positionSourceOf(playbin_.get(), hasVideo_)),
      frameRate_(hasVideo_ && counted.frameRate > 0 ? counted.frameRate
                                                    : videoFrameRate(playbin_.get())),
      originNs_(prerolledPosition(positionSource_)),
      countedMs_(hasVideo_ ? countedLengthMs(counted) : 0) {}

GstPlayer::~GstPlayer() {
    // Down to NULL first: no frame can reach the surface after it is cleared.
    playbin_.reset();
    gst_bus_set_sync_handler(bus_, nullptr, nullptr, nullptr);
    gst_object_unref(positionSource_);
    gst_object_unref(bus_);
    if (hasVideo_ && surfaceHandle_ != 0)
        withVideoSurface(surfaceHandle_, [](VideoSurface& surface) { surface.clearFrame(); });
}

// The control repeats its commands on every tick; a repeat leaves the pipeline alone.
void GstPlayer::play() {
    drainBus();
    if (atEnd_ || mode_ == PlayerMode::Playing)
        return;
    gst_element_set_state(playbin_.get(), GST_STATE_PLAYING);
    mode_ = PlayerMode::Playing;
}

void GstPlayer::pause() {
    drainBus();
    if (atEnd_ || mode_ == PlayerMode::Paused)
        return;
    gst_element_set_state(playbin_.get(), GST_STATE_PAUSED);
    mode_ = PlayerMode::Paused;
}

void GstPlayer::stop() {
    drainBus();
    if (!atEnd_)
        gst_element_set_state(playbin_.get(), GST_STATE_PAUSED);
    mode_ = PlayerMode::Stopped;
}

void GstPlayer::seek(double positionMs) {
    drainBus();
    const auto target = originNs_ + static_cast<gint64>(std::max(0.0, positionMs) * GST_MSECOND);
    gst_element_set_state(playbin_.get(), GST_STATE_PAUSED);
    gst_element_seek_simple(playbin_.get(), GST_FORMAT_TIME,
                            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                            target);
    gst_element_get_state(playbin_.get(), nullptr, nullptr, SeekWait);
    // Messages of the stream before the flush (an end already reached) no longer apply.
    gst_bus_set_flushing(bus_, TRUE);
    gst_bus_set_flushing(bus_, FALSE);
    atEnd_ = false;
    mode_ = PlayerMode::Stopped;
    lastPositionMs_ = toMs(target - originNs_);
}

PlayerMode GstPlayer::mode() {
    drainBus();
    return mode_;
}

double GstPlayer::positionMs() {
    drainBus();
    const double positionMs = atEnd_ ? endMs_ : streamPositionMs();
    return countedMs_ > 0 ? std::min(positionMs, countedMs_) : positionMs;
}

double GstPlayer::lengthMs() {
    drainBus();
    if (countedMs_ > 0)
        return countedMs_;
    const double knownMs = durationMs(playbin_.get(), durationMs_, audioBitRate(playbin_.get()));
    // A program stream's duration is estimated from its clock references; the end reached
    // is exact.
    return std::max(knownMs, atEnd_ ? endMs_ : 0.0);
}

double GstPlayer::frameRate() {
    return frameRate_;
}

void GstPlayer::signalChangesTo(std::shared_ptr<ChangeSignal> changes) {
    gst_bus_set_sync_handler(
        bus_,
        [](GstBus*, GstMessage* message, gpointer changes) {
            if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS ||
                GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
                static_cast<std::shared_ptr<ChangeSignal>*>(changes)->get()->raise();
            return GST_BUS_PASS;
        },
        new std::shared_ptr<ChangeSignal>(std::move(changes)),
        [](gpointer changes) { delete static_cast<std::shared_ptr<ChangeSignal>*>(changes); });
}

std::optional<Error> GstPlayer::takeStreamFailure() {
    drainBus();
    return std::exchange(failure_, std::nullopt);
}

void GstPlayer::drainBus() {
    while (GstMessage* message = gst_bus_pop(bus_)) {
        switch (GST_MESSAGE_TYPE(message)) {
            case GST_MESSAGE_EOS:
                reachEnd();
                break;
            case GST_MESSAGE_ERROR:
                failWhilePlaying(message);
                break;
            case GST_MESSAGE_DURATION_CHANGED:
                durationMs_ = 0;
                break;
            default:
                break;
        }
        gst_message_unref(message);
    }
}

// Only the first error counts: the elements downstream of the one that failed report
// their own stop after it.
void GstPlayer::failWhilePlaying(GstMessage* error) {
    if (!atEnd_)
        failure_ = errorFromMessage(error, "cannot go on playing " + playedFile(playbin_.get()));
    reachEnd();
}

// A device that played to its end, or failed while streaming, stops where it is.
void GstPlayer::reachEnd() {
    if (atEnd_)
        return;
    endMs_ = streamPositionMs();
    atEnd_ = true;
    mode_ = PlayerMode::Stopped;
}

// The last known position stands in while the pipeline cannot answer (a state change).
double GstPlayer::streamPositionMs() {
    gint64 position = 0;
    if (gst_element_query_position(positionSource_, GST_FORMAT_TIME, &position))
        lastPositionMs_ = std::max(0.0, toMs(position - originNs_));
    return lastPositionMs_;
}

}  // namespace tessaro::media::gst
