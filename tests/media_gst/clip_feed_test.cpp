// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <gst/app/gstappsrc.h>

#include <atomic>

#include "platform/media/gst/clip_feed.h"
#include "tests/media_gst/test_media.h"

namespace tessaro::media::gst {
namespace {

constexpr int decoded = 3;
// What an MPEG audio frame of 1152 samples decodes to.
constexpr gsize pieceBytes = 1152 * AudioOutput::bytesPerFrame;
constexpr const char* decoderStandIn =
    "appsrc name=decoder format=time ! appsink name=pieces sync=false";
constexpr GstClockTime longAfter = 100 * GST_SECOND;

GstFlowReturn countArrival(GstAppSink*, gpointer arrived) {
    ++*static_cast<std::atomic<int>*>(arrived);
    return GST_FLOW_OK;
}

// A decoder stand-in: pieces pushed into an appsink as a narration's decoder leaves them,
// never followed by its end of stream.
class ClipFeedTest : public ::testing::Test {
  protected:
    ClipFeedTest() {
        gst_init(nullptr, nullptr);
        pipeline_.reset(gst_parse_launch(decoderStandIn, nullptr));
        GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline_.get()), "decoder");
        GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline_.get()), "pieces");
        GstCaps* caps = AudioOutput::pieceCaps();
        g_object_set(source, "caps", caps, nullptr);
        gst_caps_unref(caps);
        GstAppSinkCallbacks callbacks{};
        callbacks.new_sample = countArrival;
        gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, &arrived_, nullptr);
        feed_ = std::make_unique<ClipFeed>(GST_APP_SINK(sink));
        gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
        for (int k = 0; k < decoded; ++k) {
            GstBuffer* piece = gst_buffer_new_allocate(nullptr, pieceBytes, nullptr);
            gst_buffer_memset(piece, 0, 0, pieceBytes);
            gst_app_src_push_buffer(GST_APP_SRC(source), piece);
        }
        gst_object_unref(source);
        gst_object_unref(sink);
        EXPECT_TRUE(testing::waitUntil([this] { return arrived_ == decoded; }));
    }
    // Takes every piece as an output hearing `heardNow` would; returns how many and when
    // the first is to be heard.
    int takeAll(GstClockTime followOn = GST_CLOCK_TIME_NONE, GstClockTime* firstAt = nullptr) {
        int taken = 0;
        while (GstBuffer* piece = feed_->takeBuffer(heardNow, followOn)) {
            if (firstAt && taken == 0)
                *firstAt = GST_BUFFER_PTS(piece);
            gst_buffer_unref(piece);
            ++taken;
        }
        return taken;
    }

    static constexpr GstClockTime heardNow = GST_SECOND;

    Pipeline pipeline_;
    std::atomic<int> arrived_{0};
    std::unique_ptr<ClipFeed> feed_;
};

// The clip is decoded ahead of the play: a decoder that fails before the play has still
// decoded what comes before the damage, and that is heard.
TEST_F(ClipFeedTest, DecoderFailingBeforeThePlayLeavesWhatItDecodedToBeGiven) {
    feed_->endHere();
    feed_->give(true);
    EXPECT_EQ(takeAll(), decoded);
    EXPECT_TRUE(feed_->endHeardWithin(longAfter, 0));
}

TEST_F(ClipFeedTest, DecoderFailingOnceAllWasGivenEndsTheClip) {
    feed_->give(true);
    EXPECT_EQ(takeAll(), decoded);
    EXPECT_FALSE(feed_->endHeardWithin(longAfter, 0)) << "the decoder may still give more";
    feed_->endHere();
    EXPECT_TRUE(feed_->endHeardWithin(longAfter, 0));
}

// A clip joins the sound before it where the output has it join, else starts just ahead
// of what is heard; it counts as played out from `handoverNs` before its last
// sample is heard, and not a nanosecond earlier.
TEST_F(ClipFeedTest, ClipFollowsOnFromTheSoundBeforeAndEndsWithinTheHandover) {
    const GstClockTime length =
        decoded * gst_util_uint64_scale(pieceBytes / AudioOutput::bytesPerFrame, GST_SECOND,
                                        AudioOutput::rate);
    const struct {
        GstClockTime followOn;
        GstClockTime startsAt;
    } cases[] = {{GST_CLOCK_TIME_NONE, heardNow + AudioOutput::leadNs},
                 {heardNow - 10 * GST_MSECOND, heardNow - 10 * GST_MSECOND},
                 {heardNow + 20 * GST_MSECOND, heardNow + 20 * GST_MSECOND}};
    feed_->endHere();
    feed_->give(true);
    for (const auto& c : cases) {
        GstClockTime firstAt = GST_CLOCK_TIME_NONE;
        ASSERT_EQ(takeAll(c.followOn, &firstAt), decoded);
        EXPECT_EQ(firstAt, c.startsAt);
        const GstClockTime lastHeard = c.startsAt + length;
        EXPECT_FALSE(feed_->endHeardWithin(lastHeard - AudioOutput::handoverNs - 1,
                                           AudioOutput::handoverNs));
        EXPECT_TRUE(
            feed_->endHeardWithin(lastHeard - AudioOutput::handoverNs, AudioOutput::handoverNs));
        EXPECT_EQ(feed_->clipTimeGiven(), length);
        // All of it back, to be given again for the next case.
        feed_->takeBack(firstAt);
    }
}

}  // namespace
}  // namespace tessaro::media::gst
