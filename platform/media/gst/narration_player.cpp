// SPDX-License-Identifier: MIT
#include "platform/media/gst/narration_player.h"

#include <gst/app/gstappsink.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/media/gst/clip_feed.h"
#include "platform/media/gst/gst_pipeline.h"
#include "platform/media/gst/narration_decoder.h"

namespace tessaro::media::gst {
namespace {

constexpr GstClockTime SeekWait = 5 * GST_SECOND;

double toMs(GstClockTime ns) {
    return static_cast<double>(ns) / GST_MSECOND;
}

// Takes a closed device's decoder down on a thread of GStreamer's: the host's thread,
// which goes on to the next clip, does not wait for its streaming thread to stop. The
// feed its callbacks use lives until then.
void stopAside(Pipeline decoder, std::shared_ptr<ClipFeed> feed) {
    GstElement* pipeline = decoder.release();
    gst_element_call_async(
        pipeline,
        [](GstElement* element, gpointer) { gst_element_set_state(element, GST_STATE_NULL); },
        new std::shared_ptr<ClipFeed>(std::move(feed)),
        [](gpointer kept) { delete static_cast<std::shared_ptr<ClipFeed>*>(kept); });
    gst_object_unref(pipeline);
}

GstFlowReturn onDecoded(GstAppSink*, gpointer feed) {
    static_cast<ClipFeed*>(feed)->wake();
    return GST_FLOW_OK;
}

void onDecodedAll(GstAppSink*, gpointer feed) {
    static_cast<ClipFeed*>(feed)->wake();
}

class NarrationPlayer final : public Player {
  public:
    NarrationPlayer(std::string path, NarrationDecoder decoder,
                    std::shared_ptr<AudioOutputs> outputs, std::shared_ptr<AudioOutput> output)
        : path_(std::move(path)),
          decoder_(std::move(decoder.pipeline)),
          bus_(gst_element_get_bus(decoder_.get())),
          feed_(std::make_shared<ClipFeed>(decoder.pieces)),
          bitRate_(decoder.bitRate),
          outputs_(std::move(outputs)) {
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = onDecoded;
        callbacks.eos = onDecodedAll;
        gst_app_sink_set_callbacks(decoder.pieces, &callbacks, feed_.get(), nullptr);
        // Decoding runs ahead, unsynchronised, so that a play finds the first pieces ready.
        gst_element_set_state(decoder_.get(), GST_STATE_PLAYING);
        output_ = std::move(output);
        feed_->connect(output_);
        output_->attach(feed_);
    }

    ~NarrationPlayer() override {
        disconnectOutput();
        outputs_->giveBack(std::move(output_));
        gst_object_unref(bus_);
        stopAside(std::move(decoder_), feed_);
    }

    // The control repeats its commands on every tick; a repeat leaves the output alone.
    void play() override {
        drainBus();
        if (atEnd_ || mode_ == PlayerMode::Playing)
            return;
        haltedAt_ = GST_CLOCK_TIME_NONE;
        feed_->give(true);
        output_->kick();
        mode_ = PlayerMode::Playing;
    }

    void pause() override { halt(PlayerMode::Paused); }
    void stop() override { halt(PlayerMode::Stopped); }

    void seek(double positionMs) override {
        drainBus();
        feed_->give(false);
        output_->hush();
        const auto target = static_cast<gint64>(std::max(0.0, positionMs) * GST_MSECOND);
        gst_element_seek_simple(
            decoder_.get(), GST_FORMAT_TIME,
            static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target);
        gst_element_get_state(decoder_.get(), nullptr, nullptr, SeekWait);
        feed_->restartAt(target);
        haltedAt_ = GST_CLOCK_TIME_NONE;
        atEnd_ = false;
        playedOut_ = false;
        mode_ = PlayerMode::Stopped;
    }

    PlayerMode mode() override {
        drainBus();
        return mode_;
    }

    double positionMs() override {
        drainBus();
        if (atEnd_)
            return endMs_;
        // Halted, the clip stands where its sound stops.
        return toMs(feed_->clipTimeHeard(GST_CLOCK_TIME_IS_VALID(haltedAt_) ? haltedAt_
                                                                            : output_->heardNow()));
    }

    double lengthMs() override {
        drainBus();
        return std::max({durationMs(decoder_.get(), durationMs_, bitRate_),
                         toMs(feed_->knownLength()), atEnd_ ? endMs_ : 0.0});
    }

    double frameRate() override { return 0; }

    // The mode turns Stopped up to the output's handover before the last sample is heard.
    std::optional<double> msUntilEnd() override {
        const auto untilHeard = Player::msUntilEnd();
        if (!untilHeard)
            return std::nullopt;
        return std::max(0.0, *untilHeard - toMs(output_->handover()));
    }

    std::optional<Error> takeStreamFailure() override {
        drainBus();
        return std::exchange(failure_, std::nullopt);
    }

  private:
    // A closed device falls silent a moment after the close, unless it was played out: the
    // rest of its sound is still to be heard, and the next clip follows on. The output
    // serves the next.
    void disconnectOutput() {
        feed_->give(false);
        if (!playedOut_)
            output_->hush();
        feed_->connect(nullptr);
        output_->detach();
    }

    // The sound stops a moment after the call; what was to follow goes on at the next play.
    void halt(PlayerMode mode) {
        drainBus();
        if (atEnd_ || mode_ == mode)
            return;
        feed_->give(false);
        haltedAt_ = output_->hush();
        mode_ = mode;
    }

    // Errors of the decoder end the clip where its sound ends; the end itself is the
    // moment its last sample is heard. Only the first error is the device's failure: the
    // elements downstream of the one that failed report their own stop after it.
    void drainBus() {
        while (GstMessage* message = gst_bus_pop(bus_)) {
            if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
                if (!failed_)
                    failure_ = errorFromMessage(message, "cannot go on playing " + path_);
                failed_ = true;
                feed_->endHere();
            } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_DURATION_CHANGED) {
                durationMs_ = 0;
            }
            gst_message_unref(message);
        }
        if (!atEnd_ && mode_ == PlayerMode::Playing) {
            const GstClockTime heard = output_->heardNow();
            if (output_->failed()) {
                reachEnd(feed_->clipTimeHeard(heard));
            } else if (feed_->endHeardWithin(heard, output_->handover())) {
                playedOut_ = true;
                reachEnd(feed_->clipTimeGiven());
            }
        }
    }

    void reachEnd(GstClockTime clipTime) {
        endMs_ = toMs(clipTime);
        feed_->give(false);
        atEnd_ = true;
        mode_ = PlayerMode::Stopped;
    }

    const std::string path_;
    Pipeline decoder_;
    GstBus* bus_;
    std::shared_ptr<ClipFeed> feed_;
    unsigned bitRate_;
    std::shared_ptr<AudioOutputs> outputs_;
    std::shared_ptr<AudioOutput> output_;
    PlayerMode mode_ = PlayerMode::Stopped;
    bool atEnd_ = false;
    // At its end with all of its sound handed over, some of it still to be heard.
    bool playedOut_ = false;
    double endMs_ = 0;
    // When the sound of a paused or stopped clip stops.
    GstClockTime haltedAt_ = GST_CLOCK_TIME_NONE;
    double durationMs_ = 0;
    bool failed_ = false;
    std::optional<Error> failure_;
};

}  // namespace

std::unique_ptr<Player> openNarration(const std::string& path, const std::string& kind,
                                      const std::shared_ptr<AudioOutputs>& outputs) {
    NarrationDecoder decoder = decodeNarration(path, kind);
    return std::make_unique<NarrationPlayer>(path, std::move(decoder), outputs, outputs->lease());
}

}  // namespace tessaro::media::gst
