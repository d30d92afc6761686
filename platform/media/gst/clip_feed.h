// SPDX-License-Identifier: MIT
#pragma once

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/media/gst/audio_output.h"

namespace tessaro::media::gst {

// One clip's decoded sound as its output takes it, and the clip's timeline as heard. Used
// from the host's thread (the device's calls), the output's streaming thread (takeBuffer)
// and the decoder's (wake).
class ClipFeed final : public SoundFeed {
  public:
    // pieces: the decoder's appsink, giving pieces in AudioOutput::pieceCaps().
    explicit ClipFeed(GstAppSink* pieces) : pieces_(pieces) {}
    ~ClipFeed() override;
    ClipFeed(const ClipFeed&) = delete;
    ClipFeed& operator=(const ClipFeed&) = delete;

    GstBuffer* takeBuffer(GstClockTime heardNow, GstClockTime followOn) override;
    GstClockTime takeBack(GstClockTime from) override;
    // Called by the decoder as it has a piece ready or ends: an output that found the feed
    // dry is asked to take again.
    void wake();

    // The output to wake; a wake under way keeps it alive after a disconnect (nullptr).
    void connect(std::shared_ptr<AudioOutput> output);
    // Whether pieces are given: the device plays.
    void give(bool giving);
    // The decoder failed while streaming: what it decoded before is all there is.
    void endHere();
    // The clip goes on from `offset` with nothing given or taken back, as after a seek.
    void restartAt(GstClockTime offset);

    // All of the clip was given and its last sample is heard by `heard` + `within`.
    bool endHeardWithin(GstClockTime heard, GstClockTime within);
    // The clip's time right after the last piece given.
    GstClockTime clipTimeGiven();
    // The clip's time being heard: where the sound stands, or where it will start.
    GstClockTime clipTimeHeard(GstClockTime heard);
    // The clip's whole length once all of it was given (0 before).
    GstClockTime knownLength();

  private:
    // A stretch of the clip heard without a break: from running time `at` on, the clip's
    // time `offset` on, up to running time `until`.
    struct Span {
        GstClockTime at;
        GstClockTime offset;
        GstClockTime until;
    };

    // A piece given and not yet heard in full, kept to be given again should it be taken
    // back: its clip time.
    struct Given {
        GstBuffer* piece;
        GstClockTime offset;
    };

    GstBuffer* nextPiece();
    void stamp(GstBuffer* piece, GstClockTime heardNow, GstClockTime followOn);
    GstClockTime clipTimeAt(GstClockTime heard) const;
    void forgetGiven();

    GstAppSink* pieces_;
    std::mutex mutex_;
    std::shared_ptr<AudioOutput> output_;
    bool giving_ = false;
    bool decodedAll_ = false;
    bool decoderFailed_ = false;
    bool dry_ = false;
    GstClockTime nextAt_ = GST_CLOCK_TIME_NONE;
    // Clip time right after the last piece given, and after the last one decoded.
    GstClockTime offset_ = 0;
    GstClockTime decodedUntil_ = 0;
    std::vector<Span> spans_;
    std::deque<Given> given_;
    // Pieces taken back, given again before any newly decoded.
    std::deque<GstBuffer*> takenBack_;
};

}  // namespace tessaro::media::gst
