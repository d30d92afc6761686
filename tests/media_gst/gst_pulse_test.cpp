// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/media/gst/audio_output.h"
#include "platform/media/gst/gst_backend.h"
#include "tests/media_gst/pulse_server.h"
#include "tests/media_gst/service_queries.h"
#include "tests/media_gst/test_media.h"

namespace tessaro::media {
namespace {

using namespace std::chrono_literals;
using testing::modeOf;
using testing::positionOf;
using testing::PulseServer;
using testing::ScopedVariable;
using testing::TestMedia;
using testing::waitUntil;

constexpr std::size_t samplesPerMs = PulseServer::rate / 1000;

std::string describe(const std::vector<testing::SoundSpan>& spans) {
    std::string text = "sound heard (ms):";
    for (const auto& span : spans)
        text += " " + std::to_string(span.first / samplesPerMs) + ".." +
                std::to_string(span.last / samplesPerMs);
    return text;
}

// Narrations played the way the control plays them, on a sound server of the test's own
// whose sink takes its time to play what it is given, as a real one does.
class GstPulseTest : public ::testing::Test {
  protected:
    bool openTone() {
        return service.execute("open " + media.tone() + " alias Sound type mpegVideo");
    }

    PulseServer server;
    ScopedVariable sink{"TESSARO_AUDIO_SINK", "pulsesink"};
    TestMedia media;
    Interpreter service{makeGstBackend()};
};

// A clip told stopped before its last sample was heard would be cut by the next one; one
// stream for all is what spares a handover the setting up of a stream.
TEST_F(GstPulseTest, ClipsHandedOverAsTheControlDoesAreHeardWholeInTurnThroughOneStream) {
    server.startRecording();
    std::set<std::string> streams;
    for (int clip = 0; clip < 3; ++clip) {
        ASSERT_TRUE(openTone());
        ASSERT_TRUE(service.execute("play sound"));
        ASSERT_TRUE(waitUntil([&] {
            for (const std::string& stream : server.playbackStreams())
                streams.insert(stream);
            return modeOf(service, "sound") == "STOPPED";
        }));
        ASSERT_TRUE(service.execute("close sound"));
    }
    // A clip starts with silence longer than any break in the sound of a busy machine.
    const auto spans = testing::soundSpans(
        server.stopRecording(), TestMedia::toneSilenceMilliseconds * samplesPerMs * 2 / 3);

    ASSERT_EQ(spans.size(), 3u) << describe(spans);
    // Nothing cut off; a busy machine may stretch a clip with a break.
    for (const auto& span : spans)
        EXPECT_GE((span.last - span.first) / samplesPerMs, TestMedia::toneMilliseconds - 5)
            << describe(spans);
    EXPECT_EQ(streams.size(), 1u);
}

// A paused sink holds its last sound; played again it must go on and let the clip end,
// even when all of the clip was handed to it before the pause.
TEST_F(GstPulseTest, ClipPausedNearItsEndPlaysToItsEndWhenPlayedAgain) {
    ASSERT_TRUE(openTone());
    ASSERT_TRUE(service.execute("play sound"));
    ASSERT_TRUE(waitUntil(
        [&] { return positionOf(service, "sound") >= TestMedia::toneMilliseconds - 60; }));
    ASSERT_TRUE(service.execute("pause sound"));
    const double held = positionOf(service, "sound");
    testing::sleepFor(100ms);
    EXPECT_EQ(modeOf(service, "sound"), "PAUSED");
    EXPECT_EQ(positionOf(service, "sound"), held);

    ASSERT_TRUE(service.execute("play sound"));
    EXPECT_TRUE(waitUntil([&] { return modeOf(service, "sound") == "STOPPED"; }));
    EXPECT_GT(positionOf(service, "sound"), held);
}

// A clip may read stopped as early before its last sample is heard as the sink's latency,
// never earlier: a sink that reports none gives no head start, a long one no more than
// the cap.
TEST_F(GstPulseTest, OutputStopsClipsAheadByItsSinksLatencyUpToTheCap) {
    const struct {
        const char* sink;
        GstClockTime least;
        GstClockTime most;
    } cases[] = {
        {"fakesink sync=true", 0, 0},
        {"pulsesink", gst::AudioOutput::handoverNs, gst::AudioOutput::handoverNs},
        {"pulsesink buffer-time=20000 latency-time=10000", 5 * GST_MSECOND,
         gst::AudioOutput::handoverNs - 5 * GST_MSECOND},
    };
    for (const auto& c : cases) {
        ScopedVariable named{"TESSARO_AUDIO_SINK", c.sink};
        const gst::AudioOutput output;
        EXPECT_GE(output.handover(), c.least) << c.sink;
        EXPECT_LE(output.handover(), c.most) << c.sink;
    }
}

}  // namespace
}  // namespace tessaro::media
