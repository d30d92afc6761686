// SPDX-License-Identifier: MIT
// What the control's timer tick pays to ask a GStreamer device for its state, and what a
// listener waits between two narration clips for the next one to open.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/media/gst/gst_backend.h"
#include "platform/media/video_surface.h"

namespace tessaro::media {
namespace {

constexpr std::intptr_t PictureBox = 4100;
constexpr unsigned ReplyLength = 49;

// Long enough that both devices are still playing when the status figures are taken.
class BenchMedia {
  public:
    BenchMedia() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tessaro-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        folder_ = pattern;
        make("-f lavfi -i testsrc=size=352x288:rate=25 -t 60 -c:v mpeg1video -f mpeg", video());
        make("-f lavfi -i sine=frequency=440:sample_rate=44100 -t 60 -c:a mp2 -f mp2", narration());
    }
    ~BenchMedia() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string video() const { return folder_ + "/asana.mpg"; }
    std::string narration() const { return folder_ + "/clip.mp2"; }

  private:
    static void make(const std::string& args, const std::string& target) {
        const std::string command = "ffmpeg -nostdin -loglevel error -y " + args + " " + target;
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("ffmpeg failed: " + command);
    }

    std::string folder_;
};

BenchMedia& media() {
    static BenchMedia files;
    return files;
}

// Keeps a copy of each frame, as the picture box does.
class CopyingSurface : public VideoSurface {
  public:
    void presentFrame(const std::uint8_t* pixels, int, int height, int stride) override {
        frame_.assign(pixels, pixels + static_cast<std::size_t>(stride) * height);
    }
    void clearFrame() override { frame_.clear(); }

  private:
    std::vector<std::uint8_t> frame_;
};

void run(benchmark::State& state, const std::string& command) {
    if (!processMediaService().execute(command))
        state.SkipWithError(("failed: " + command).c_str());
}

// Opens and plays the asana's video in the picture box and a narration clip, as the
// video start does.
bool startAsana(benchmark::State& state) {
    run(state, "close all");
    run(state, "open " + media().video() + "  alias video type mpegVideo  style child parent  " +
                   std::to_string(PictureBox));
    run(state, "set video time format frames");
    run(state, "open " + media().narration() + " alias Sound type mpegVideo");
    run(state, "play video");
    run(state, "play sound");
    return !state.error_occurred();
}

void statusWhilePlaying(benchmark::State& state, const char* query) {
    CopyingSurface surface;
    registerVideoSurface(PictureBox, &surface);
    if (startAsana(state)) {
        char reply[ReplyLength + 1];
        for (auto _ : state) {
            const int error = processMediaService().sendString(query, reply, ReplyLength, 0);
            benchmark::DoNotOptimize(error);
            benchmark::DoNotOptimize(reply);
        }
        processMediaService().sendString(query, reply, ReplyLength, 0);
        state.SetLabel(std::string("last reply ") + reply);
    }
    run(state, "close all");
    unregisterVideoSurface(PictureBox);
}

void BM_StatusVideoPosition(benchmark::State& state) {
    statusWhilePlaying(state, "status video Position");
}
BENCHMARK(BM_StatusVideoPosition)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void BM_StatusSoundMode(benchmark::State& state) {
    statusWhilePlaying(state, "status sound mode");
}
BENCHMARK(BM_StatusSoundMode)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// While the video waits for a narration clip to end, the control re-sends "pause video" on
// every tick.
void BM_PauseVideoRepeated(benchmark::State& state) {
    if (startAsana(state)) {
        run(state, "pause video");
        for (auto _ : state)
            run(state, "pause video");
    }
    run(state, "close all");
}
BENCHMARK(BM_PauseVideoRepeated)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// The gap between two clips: the next clip opens after "close sound".
void BM_OpenNarration(benchmark::State& state) {
    const std::string open = "open " + media().narration() + " alias Sound type mpegVideo";
    run(state, "close all");
    // The first open of a process loads GStreamer's plugins; a listener never hears that.
    run(state, open);
    run(state, "close sound");
    for (auto _ : state) {
        run(state, open);
        state.PauseTiming();
        run(state, "close sound");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenNarration)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace tessaro::media

BENCHMARK_MAIN();
