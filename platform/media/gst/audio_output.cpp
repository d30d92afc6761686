// SPDX-License-Identifier: MIT
#include "platform/media/gst/audio_output.h"

#include <gst/audio/gstaudiobasesink.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "platform/media/gst/gst_sinks.h"
#include "platform/media/gst/narration_decoder.h"
#include "platform/media/trace.h"

namespace tessaro::media::gst {
namespace {

// Asked of a sink that buffers through a ring (pulsesink, alsasink). Sound handed over
// is stamped a few milliseconds ahead of what is heard and the sound server takes it
// back over what it holds, so the buffer does not delay a start; it is what a busy
// machine draws on before the sound breaks off.
constexpr gint64 SinkBufferUs = 100000;
constexpr gint64 SinkPeriodUs = 10000;
// Silence given as the output starts: as much as the sink's buffer holds starts it
// playing, and its clock has started once it has gone on by two periods.
constexpr GstClockTime PrimingNs = SinkBufferUs * GST_USECOND;
constexpr GstClockTime RunningNs = 2 * SinkPeriodUs * GST_USECOND;
// How long a start may wait for the sink to play the priming silence.
constexpr GstClockTime StartWaitNs = 3 * GST_SECOND;
// The precedence PulseAudio asks for its own threads.
constexpr int SoundThreadNice = -11;

// The sink's own clock, when it has one, paces the output: its time is the time heard.
// A live pipeline would otherwise take the system clock, as the sink offers its clock
// only once sound has reached it, and slave the sink to it. Returns whether it has one.
bool useClockOfSink(GstElement* pipeline) {
    bool found = false;
    GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
        GstElement* element = GST_ELEMENT(g_value_get_object(&item));
        if (GST_IS_AUDIO_BASE_SINK(element) && GST_AUDIO_BASE_SINK(element)->provided_clock) {
            gst_pipeline_use_clock(GST_PIPELINE(pipeline),
                                   GST_AUDIO_BASE_SINK(element)->provided_clock);
            found = true;
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(elements);
    return found;
}

bool atDefault(GstElement* element, const char* property) {
    GParamSpec* spec = g_object_class_find_property(G_OBJECT_GET_CLASS(element), property);
    if (!spec || G_PARAM_SPEC_VALUE_TYPE(spec) != G_TYPE_INT64)
        return false;
    gint64 value = 0;
    g_object_get(element, property, &value, nullptr);
    return value == G_PARAM_SPEC_INT64(spec)->default_value;
}

// Shortens the buffer of every ring-buffered sink that joins the output, also one that
// autoaudiosink picks as it starts; settings a sink description names are left alone.
void shortenSinkBuffer(GstBin*, GstBin*, GstElement* element, gpointer) {
    if (atDefault(element, "buffer-time") && atDefault(element, "latency-time"))
        g_object_set(element, "buffer-time", SinkBufferUs, "latency-time", SinkPeriodUs, nullptr);
}

// The streaming thread hands sound to the server a few milliseconds at a time; left
// waiting behind busy threads longer than the sink's buffer lasts, the sound breaks off.
// It asks for the precedence a sound thread usually has, where the process may give it,
// and gives it up as it leaves (its thread may go on to serve another pipeline).
void setOwnPriority(int nice) {
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), nice);
}

// Runs on the thread that posts: a streaming thread posts as it enters and leaves.
GstBusSyncReply onMessage(GstBus*, GstMessage* message, gpointer failed) {
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
        static_cast<std::atomic<bool>*>(failed)->store(true);
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_STREAM_STATUS) {
        GstStreamStatusType type;
        gst_message_parse_stream_status(message, &type, nullptr);
        if (type == GST_STREAM_STATUS_TYPE_ENTER)
            setOwnPriority(SoundThreadNice);
        else if (type == GST_STREAM_STATUS_TYPE_LEAVE)
            setOwnPriority(0);
    }
    return GST_BUS_DROP;
}

// "narration output latency 60.0 ms, stops clips 30.0 ms ahead": what a reader of the
// trace judges "stopped" answers against.
void traceOutputLatency(GstClockTime latency, GstClockTime handover) {
    if (!traceEventsOn())
        return;
    char text[96];
    std::snprintf(text, sizeof text, "narration output latency %.1f ms, stops clips %.1f ms ahead",
                  static_cast<double>(latency) / GST_MSECOND,
                  static_cast<double>(handover) / GST_MSECOND);
    traceEvent(text);
}

GstBuffer* silence(GstClockTime at, GstClockTime length) {
    const gsize bytes =
        gst_util_uint64_scale(length, AudioOutput::rate, GST_SECOND) * AudioOutput::bytesPerFrame;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_memset(buffer, 0, 0, bytes);
    GST_BUFFER_PTS(buffer) = at;
    GST_BUFFER_DURATION(buffer) = length;
    return buffer;
}

}  // namespace

GstCaps* AudioOutput::pieceCaps() {
    return gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                               G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT, rate, "channels",
                               G_TYPE_INT, 2, nullptr);
}

AudioOutput::AudioOutput() {
    pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new("narration-output"))));
    g_signal_connect(pipeline_.get(), "deep-element-added", G_CALLBACK(shortenSinkBuffer), nullptr);
    // One element at a time: the bin owns each as soon as it is added, should the next throw.
    source_ = makeElement("appsrc");
    gst_bin_add(GST_BIN(pipeline_.get()), source_);
    GstElement* convert = makeElement("audioconvert");
    gst_bin_add(GST_BIN(pipeline_.get()), convert);
    GstElement* resample = makeElement("audioresample");
    gst_bin_add(GST_BIN(pipeline_.get()), resample);
    GstElement* sink = makeAudioSink();
    gst_bin_add(GST_BIN(pipeline_.get()), sink);
    if (!gst_element_link_many(source_, convert, resample, sink, nullptr))
        throw Error(errors::CannotLoadDriver, "the audio output cannot take narration sound");

    GstCaps* caps = pieceCaps();
    g_object_set(source_, "caps", caps, "format", GST_FORMAT_TIME, "is-live", TRUE, "block", FALSE,
                 nullptr);
    gst_caps_unref(caps);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = onNeedData;
    gst_app_src_set_callbacks(GST_APP_SRC(source_), &callbacks, this, nullptr);
    // A piece stamped t is heard at running time t: the pieces carry their own lead.
    gst_pipeline_set_latency(GST_PIPELINE(pipeline_.get()), 0);
    bus_ = gst_element_get_bus(pipeline_.get());
    gst_bus_set_sync_handler(bus_, onMessage, &failed_, nullptr);

    // In READY autoaudiosink has chosen its sink.
    if (gst_element_set_state(pipeline_.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE)
        failed_ = true;
    sinkClock_ = useClockOfSink(pipeline_.get());
    if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        failed_ = true;
    push(silence(heardNow(), PrimingNs));
    waitUntilStarted();
    if (failed_)
        throw Error(errors::CannotLoadDriver, "the audio output cannot be started");
    const GstClockTime latency = reportedLatency();
    handover_ = std::min(latency, handoverNs);
    traceOutputLatency(latency, handover_);
}

AudioOutput::~AudioOutput() {
    pipeline_.reset();
    gst_bus_set_sync_handler(bus_, nullptr, nullptr, nullptr);
    gst_object_unref(bus_);
}

// A sound server's sink that nobody played to wakes seldom (a null sink every two
// seconds), and until it next wakes neither takes the priming silence nor tells its clock
// right: the sink has started once it has taken all of the priming (the source asks for
// more) and its clock has gone on by a priming's length since.
void AudioOutput::waitUntilStarted() {
    const GstClockTime deadline = gst_util_get_timestamp() + StartWaitNs;
    const auto waitFor = [&](const std::function<bool()>& done) {
        while (!failed_ && !done() && gst_util_get_timestamp() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    waitFor([this] { return asked_ > 0; });
    const GstClockTime taken = heardNow();
    waitFor([&] { return heardNow() >= taken + RunningNs; });
}

// The least latency the sink reports for the live output, as it has set up its stream
// with the sound server: the time sound handed to it takes to be heard. 0 when it
// reports none.
GstClockTime AudioOutput::reportedLatency() {
    GstQuery* query = gst_query_new_latency();
    GstClockTime least = 0;
    if (gst_element_query(pipeline_.get(), query)) {
        gboolean live = FALSE;
        GstClockTime most = 0;
        gst_query_parse_latency(query, &live, &least, &most);
    }
    gst_query_unref(query);
    return GST_CLOCK_TIME_IS_VALID(least) ? least : 0;
}

GstClockTime AudioOutput::heardNow() {
    GstClock* clock = gst_element_get_clock(pipeline_.get());
    if (!clock)
        return 0;
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime base = gst_element_get_base_time(pipeline_.get());
    return now > base ? now - base : 0;
}

void AudioOutput::attach(std::shared_ptr<SoundFeed> feed) {
    std::lock_guard lock(feedMutex_);
    feed_ = std::move(feed);
}

void AudioOutput::detach() {
    std::lock_guard lock(feedMutex_);
    feed_.reset();
}

// The source asks when it has run empty, once; a feed with nothing to give then is asked
// again through kick().
void AudioOutput::onNeedData(GstAppSrc*, guint, gpointer self) {
    auto* output = static_cast<AudioOutput*>(self);
    ++output->asked_;
    output->kick();
}

// Sound that follows on joins the sound before it. A sink with a clock of its own plays
// from where its ring has reached, so sound to join must be ahead by the lead. One that
// renders on the pipeline's clock hands what it renders on to the sound server, which
// plays it a latency later (one such sink, pipewiresink, reports none): sound rendered
// late, up to a handover, still comes right behind it.
void AudioOutput::kick() {
    std::lock_guard lock(feedMutex_);
    if (!feed_)
        return;
    const GstClockTime now = heardNow();
    const bool joinable =
        GST_CLOCK_TIME_IS_VALID(soundUntil_) &&
        (sinkClock_ ? soundUntil_ >= now + leadNs : soundUntil_ + handoverNs > now);
    if (GstBuffer* piece = feed_->takeBuffer(now, joinable ? soundUntil_ : GST_CLOCK_TIME_NONE)) {
        push(piece);
        soundUntil_ = pushedUntil_;
    }
}

// A piece that does not follow on from the one before makes the sink start afresh at its
// time, also one that goes back over silence given after a clip.
void AudioOutput::push(GstBuffer* piece) {
    if (GST_BUFFER_PTS(piece) != pushedUntil_)
        GST_BUFFER_FLAG_SET(piece, GST_BUFFER_FLAG_DISCONT);
    pushedUntil_ = GST_BUFFER_PTS(piece) + GST_BUFFER_DURATION(piece);
    gst_app_src_push_buffer(GST_APP_SRC(source_), piece);
}

GstClockTime AudioOutput::hush() {
    std::lock_guard lock(feedMutex_);
    const GstClockTime from = heardNow() + leadNs;
    soundUntil_ = GST_CLOCK_TIME_NONE;
    if (!feed_)
        return from;
    const GstClockTime until = feed_->takeBack(from);
    if (until > from)
        push(silence(from, until - from));
    return from;
}

bool AudioOutput::failed() {
    return failed_;
}

AudioOutputs::AudioOutputs() : keeper_([this] { keep(); }), decoders_(prepareNarrationDecoders) {}

AudioOutputs::~AudioOutputs() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    keeper_.join();
    decoders_.join();
}

void AudioOutputs::prepare() {
    {
        std::lock_guard lock(mutex_);
        if ((idle_ && !idle_->failed()) || starting_)
            return;
        starting_ = true;
    }
    changed_.notify_all();
}

std::shared_ptr<AudioOutput> AudioOutputs::lease() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !starting_; });
        if (idle_ && !idle_->failed())
            return std::move(idle_);
        idle_.reset();
    }
    return std::make_shared<AudioOutput>();
}

void AudioOutputs::giveBack(std::shared_ptr<AudioOutput> output) {
    if (output->failed())
        return;
    {
        std::lock_guard lock(mutex_);
        idle_ = std::move(output);
        idleSince_ = std::chrono::steady_clock::now();
    }
    changed_.notify_all();
}

// Starts the outputs asked for and closes those left idle, outside the lock: both wait
// on the sound server. An output that cannot start is left for lease() to report.
void AudioOutputs::keep() {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(mutex_);
    while (!closing_) {
        if (starting_) {
            lock.unlock();
            std::shared_ptr<AudioOutput> started;
            try {
                started = std::make_shared<AudioOutput>();
            } catch (const Error&) {
            }
            lock.lock();
            if (started) {
                idle_ = std::move(started);
                idleSince_ = Clock::now();
            }
            starting_ = false;
            changed_.notify_all();
        } else if (idle_ && Clock::now() - idleSince_ >= IdleTime) {
            std::shared_ptr<AudioOutput> closed = std::move(idle_);
            lock.unlock();
            closed.reset();
            lock.lock();
        } else if (idle_) {
            changed_.wait_until(lock, idleSince_ + IdleTime);
        } else {
            changed_.wait(lock);
        }
    }
}

}  // namespace tessaro::media::gst
