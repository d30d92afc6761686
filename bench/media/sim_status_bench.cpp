// SPDX-License-Identifier: MIT
// Cost of the status queries the control sends on every timer tick, through the
// interpreter on the sim backend, while a video and a narration clip play. This is the
// interpreter's own share of a tick's cost, without any real decoding behind it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "platform/media/interpreter.h"
#include "platform/media/reply_reading.h"
#include "sim/sim_backend.h"

namespace {

using tessaro::media::Interpreter;
using tessaro::media::SimBackend;

struct PlayingService {
    PlayingService() {
        auto backend = std::make_unique<SimBackend>(clock);
        backend->declareMedia("C:\\M\\video\\a.mpg", 600000, 25);
        backend->declareMedia("C:\\M\\sound\\mp2\\c1.mp2", 600000);
        service = std::make_unique<Interpreter>(std::move(backend));
        service->execute(
            "open C:\\M\\video\\a.mpg  alias video type mpegVideo  style child parent  1234");
        service->execute("set video time format frames");
        service->execute("open C:\\M\\sound\\mp2\\c1.mp2 alias Sound type mpegVideo");
        service->execute("play video");
        service->execute("play sound");
        clock.advanceTo(1000);
    }

    tessaro::sim::VirtualClock clock;
    std::unique_ptr<Interpreter> service;
};

// The query as the control sends it and reads it: a 50-blank area, reply length 49.
void queryAndRead(benchmark::State& state, const char* command, bool readAsMode) {
    PlayingService playing;
    char area[50];
    for (auto _ : state) {
        std::memset(area, ' ', sizeof area);
        playing.service->sendString(command, area, 49, 0);
        if (readAsMode)
            benchmark::DoNotOptimize(tessaro::media::readModeReply(area, sizeof area));
        else
            benchmark::DoNotOptimize(tessaro::media::readPositionReply(area, sizeof area));
    }
}

void statusVideoPosition(benchmark::State& state) {
    queryAndRead(state, "status video Position", false);
}

void statusSoundMode(benchmark::State& state) {
    queryAndRead(state, "status sound mode", true);
}

BENCHMARK(statusVideoPosition);
BENCHMARK(statusSoundMode);

}  // namespace

BENCHMARK_MAIN();
