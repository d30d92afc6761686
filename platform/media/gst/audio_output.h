// SPDX-License-Identifier: MIT
#pragma once

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/media/gst/gst_pipeline.h"

namespace tessaro::media::gst {

// What an output plays: the decoded sound of one clip, handed over piece by piece.
class SoundFeed {
  public:
    virtual ~SoundFeed() = default;

    // The next piece to play, its PTS set to the output's running time at which its first
    // sample is to be heard; nullptr when the feed has nothing to give at the moment.
    // heardNow is the running time being heard as the output asks; followOn the running
    // time right after the sound handed over before, where a feed that starts joins it
    // without a gap (GST_CLOCK_TIME_NONE when there is none to join: silenced, or heard
    // too long ago); it may lie behind heardNow (AudioOutput::kick). Called on the
    // output's streaming thread and, through AudioOutput::kick, on the caller's; never
    // twice at once.
    virtual GstBuffer* takeBuffer(GstClockTime heardNow, GstClockTime followOn) = 0;

    // Takes back what was given to sound from `from` on, to give it again later, and
    // returns the running time up to which it was to sound (from itself when nothing
    // was). Called as takeBuffer is.
    virtual GstClockTime takeBack(GstClockTime from) = 0;
};

// One long-lived audio output stream that narration clips are played through in turn, so
// that no clip pays for setting up a stream of the sound server (the handover from one
// clip to the next would hold that cost). A live pipeline: appsrc, conversion, and the
// audio sink of makeAudioSink(). Its running time is the time being heard: a piece
// stamped t is heard when the running time reaches t. Between clips nothing is given and
// the sink plays silence while the running time goes on. The output never pauses: a
// sound server's stream that pauses and goes on again loses its clock's time.
class AudioOutput {
  public:
    // The sound pieces are 16-bit stereo at this rate.
    static constexpr int rate = 44100;
    static constexpr int bytesPerFrame = 4;
    // Caps of the pieces a feed gives: interleaved S16LE stereo at `rate`.
    static GstCaps* pieceCaps();

    // Builds and starts the output, then waits, bounded, until the sink plays what it is
    // given as it is given. Throws tessaro::Error 266 when the sink cannot be built or
    // fails to start.
    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // How far ahead of what is heard a piece handed over now is stamped: the time it
    // takes to reach the sound server. A sink that has already taken sound up to that
    // point takes the piece again (the server rewinds), so the sink's own buffer need not
    // be waited for.
    static constexpr GstClockTime leadNs = 5 * GST_MSECOND;
    // The most a clip handed over in full may count as played before its last sample is
    // heard: the time a host takes to see it, close it and start the next one, which then
    // follows on in the same stream without a gap. Well inside the sink's buffer (100 ms).
    static constexpr GstClockTime handoverNs = 30 * GST_MSECOND;

    // How long before its last sample is heard a clip handed over in full counts as played:
    // the output's latency as its sink reports it once started, at most handoverNs. A sink
    // whose latency is not reported (0) lets a clip count as played only as its last sample
    // is heard by the output's clock.
    GstClockTime handover() const { return handover_; }

    // The running time heard now.
    GstClockTime heardNow();
    // Plays from this feed until detach(); one feed at a time. detach() returns once no
    // call into the feed is under way.
    void attach(std::shared_ptr<SoundFeed> feed);
    void detach();
    // Asks the feed for its next piece now, as after a play, or when a feed that ran dry
    // has sound again.
    void kick();
    // Silences the feed from the earliest moment sound handed over now can be heard on,
    // giving it back what it was to sound from then on; returns that moment.
    GstClockTime hush();
    // True once the sink failed while streaming (a sound server that went away).
    bool failed();

  private:
    static void onNeedData(GstAppSrc* source, guint length, gpointer self);
    void push(GstBuffer* piece);
    void waitUntilStarted();
    GstClockTime reportedLatency();

    Pipeline pipeline_;
    GstElement* source_ = nullptr;
    GstBus* bus_ = nullptr;
    // Guards the feed; held across a take and its push, so that pieces reach the source in
    // the order they were stamped.
    std::mutex feedMutex_;
    std::shared_ptr<SoundFeed> feed_;
    // Running time right after the last piece pushed, and after the last piece of sound
    // that a feed gave and was not silenced.
    GstClockTime pushedUntil_ = GST_CLOCK_TIME_NONE;
    GstClockTime soundUntil_ = GST_CLOCK_TIME_NONE;
    // The sink keeps the pipeline's time with a clock of its own (a ring buffer).
    bool sinkClock_ = false;
    std::atomic<bool> failed_{false};
    GstClockTime handover_ = 0;
    // How often the source has asked for sound.
    std::atomic<int> asked_{0};
};

// The outputs of a backend. A narration device leases one for its life and gives it back
// for the next device: the clips of a course, and the courses a host plays one after the
// other, play through one stream of the sound server. Starting a stream takes from a few
// tens of milliseconds to over a second (a server's first stream), so an output is
// started aside before it is needed; one left idle for `IdleTime` is closed, and the
// sound server may let its device sleep. The decoders of narration are made ready aside
// as the outputs are created.
class AudioOutputs {
  public:
    static constexpr std::chrono::seconds IdleTime{30};

    // GStreamer is set up before.
    AudioOutputs();
    ~AudioOutputs();
    AudioOutputs(const AudioOutputs&) = delete;
    AudioOutputs& operator=(const AudioOutputs&) = delete;

    // Starts an output aside, unless one is idle or on its way.
    void prepare();
    // An idle output, else the one on its way, else a new one; throws as AudioOutput()
    // does.
    std::shared_ptr<AudioOutput> lease();
    // An output whose sink has not failed serves the next lease.
    void giveBack(std::shared_ptr<AudioOutput> output);

  private:
    void keep();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<AudioOutput> idle_;
    std::chrono::steady_clock::time_point idleSince_;
    bool starting_ = false;
    bool closing_ = false;
    // Started last: it runs on the members above.
    std::thread keeper_;
    // Makes the narration decoders ready beside the first output's start, which mostly
    // waits on the sound server.
    std::thread decoders_;
};

}  // namespace tessaro::media::gst
