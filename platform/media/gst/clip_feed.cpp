// SPDX-License-Identifier: MIT
#include "platform/media/gst/clip_feed.h"

#include <algorithm>

namespace tessaro::media::gst {
namespace {

GstClockTime lengthOf(GstBuffer* piece) {
    return gst_util_uint64_scale(gst_buffer_get_size(piece) / AudioOutput::bytesPerFrame,
                                 GST_SECOND, AudioOutput::rate);
}

}  // namespace

ClipFeed::~ClipFeed() {
    forgetGiven();
    for (GstBuffer* piece : takenBack_)
        gst_buffer_unref(piece);
}

GstBuffer* ClipFeed::takeBuffer(GstClockTime heardNow, GstClockTime followOn) {
    std::lock_guard lock(mutex_);
    if (!giving_)
        return nullptr;
    GstBuffer* piece = nextPiece();
    if (piece)
        stamp(piece, heardNow, followOn);
    return piece;
}

GstBuffer* ClipFeed::nextPiece() {
    if (!takenBack_.empty()) {
        GstBuffer* piece = takenBack_.front();
        takenBack_.pop_front();
        return piece;
    }
    if (decodedAll_)
        return nullptr;
    GstSample* sample = gst_app_sink_try_pull_sample(pieces_, 0);
    if (!sample) {
        decodedAll_ = decoderFailed_ || gst_app_sink_is_eos(pieces_);
        dry_ = !decodedAll_;
        return nullptr;
    }
    GstBuffer* piece = gst_buffer_copy(gst_sample_get_buffer(sample));
    gst_sample_unref(sample);
    decodedUntil_ += lengthOf(piece);
    return piece;
}

// A piece goes on right after the one before while that one is still ahead of what is
// heard; otherwise (the first piece of a play, or a decoder that fell behind) it starts a
// new span right after the sound before it (the clip before) when the output has it
// joined, else just ahead of what is heard.
void ClipFeed::stamp(GstBuffer* piece, GstClockTime heardNow, GstClockTime followOn) {
    const GstClockTime length = lengthOf(piece);
    GstClockTime at = nextAt_;
    if (!GST_CLOCK_TIME_IS_VALID(at) || at < heardNow + AudioOutput::leadNs / 2) {
        at = GST_CLOCK_TIME_IS_VALID(followOn) ? followOn : heardNow + AudioOutput::leadNs;
        spans_.push_back(Span{at, offset_, at});
    }
    GST_BUFFER_PTS(piece) = at;
    GST_BUFFER_DTS(piece) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(piece) = length;
    given_.push_back(Given{gst_buffer_ref(piece), offset_});
    nextAt_ = at + length;
    offset_ += length;
    spans_.back().until = nextAt_;
    // Spans and pieces heard in full matter no more.
    while (spans_.size() > 1 && spans_[1].at <= heardNow)
        spans_.erase(spans_.begin());
    while (given_.size() > 1 &&
           GST_BUFFER_PTS(given_.front().piece) + lengthOf(given_.front().piece) <= heardNow) {
        gst_buffer_unref(given_.front().piece);
        given_.pop_front();
    }
}

// The pieces, or their parts, that were to sound from `from` on go back to be given
// again; the clip then stands at the time it had reached by `from`.
GstClockTime ClipFeed::takeBack(GstClockTime from) {
    std::lock_guard lock(mutex_);
    if (!GST_CLOCK_TIME_IS_VALID(nextAt_) || nextAt_ <= from)
        return from;
    const GstClockTime until = nextAt_;
    const GstClockTime cut = clipTimeAt(from);
    std::deque<GstBuffer*> back;
    for (const Given& given : given_) {
        const GstClockTime end = given.offset + lengthOf(given.piece);
        if (end <= cut)
            continue;
        const gsize skipped =
            gst_util_uint64_scale_round(cut > given.offset ? cut - given.offset : 0,
                                        AudioOutput::rate, GST_SECOND) *
            AudioOutput::bytesPerFrame;
        back.push_back(gst_buffer_copy_region(given.piece, GST_BUFFER_COPY_ALL, skipped,
                                              gst_buffer_get_size(given.piece) - skipped));
    }
    takenBack_.insert(takenBack_.begin(), back.begin(), back.end());
    forgetGiven();
    spans_.back().until = std::max(spans_.back().at, from);
    offset_ = cut;
    nextAt_ = GST_CLOCK_TIME_NONE;
    return until;
}

void ClipFeed::forgetGiven() {
    for (const Given& given : given_)
        gst_buffer_unref(given.piece);
    given_.clear();
}

void ClipFeed::wake() {
    std::shared_ptr<AudioOutput> output;
    {
        std::lock_guard lock(mutex_);
        if (!dry_ || !output_ || !giving_)
            return;
        dry_ = false;
        output = output_;
    }
    output->kick();
}

void ClipFeed::connect(std::shared_ptr<AudioOutput> output) {
    std::lock_guard lock(mutex_);
    output_ = std::move(output);
}

void ClipFeed::give(bool giving) {
    std::lock_guard lock(mutex_);
    giving_ = giving;
}

// A feed found dry has been given all the decoder had, and no wake will come.
void ClipFeed::endHere() {
    std::lock_guard lock(mutex_);
    decoderFailed_ = true;
    decodedAll_ = decodedAll_ || dry_;
}

void ClipFeed::restartAt(GstClockTime offset) {
    std::lock_guard lock(mutex_);
    forgetGiven();
    for (GstBuffer* piece : takenBack_)
        gst_buffer_unref(piece);
    takenBack_.clear();
    spans_.clear();
    nextAt_ = GST_CLOCK_TIME_NONE;
    offset_ = offset;
    decodedUntil_ = offset;
    decodedAll_ = false;
    decoderFailed_ = false;
    dry_ = false;
}

bool ClipFeed::endHeardWithin(GstClockTime heard, GstClockTime within) {
    std::lock_guard lock(mutex_);
    // Every piece pulled was given: a decoder at its end with none left has given all.
    decodedAll_ = decodedAll_ || (giving_ && gst_app_sink_is_eos(pieces_));
    return decodedAll_ && takenBack_.empty() &&
           (!GST_CLOCK_TIME_IS_VALID(nextAt_) || heard + within >= nextAt_);
}

GstClockTime ClipFeed::clipTimeGiven() {
    std::lock_guard lock(mutex_);
    return offset_;
}

GstClockTime ClipFeed::clipTimeAt(GstClockTime heard) const {
    for (auto span = spans_.rbegin(); span != spans_.rend(); ++span) {
        if (heard >= span->at)
            return span->offset + std::min(heard, span->until) - span->at;
    }
    return spans_.empty() ? offset_ : spans_.front().offset;
}

GstClockTime ClipFeed::clipTimeHeard(GstClockTime heard) {
    std::lock_guard lock(mutex_);
    return clipTimeAt(heard);
}

GstClockTime ClipFeed::knownLength() {
    std::lock_guard lock(mutex_);
    return decodedAll_ ? decodedUntil_ : 0;
}

}  // namespace tessaro::media::gst
