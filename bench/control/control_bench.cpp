// SPDX-License-Identifier: MIT
// Cost of the control's two hot paths on the virtual clock: one Timer1 tick in
// narration mode (two status queries through the interpreter on the sim backend and the
// tests, nothing due), and one whole fileOpen up to the playback start on a catalogue of
// 1,000 video asanas with 20 clip rows each, read through the real engine.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include <tessaro/catalogue.h>
#include <tessaro/kavo_video_sync.h>
#include "control/kavo_video_sync_fields.h"
#include "platform/media/interpreter.h"
#include "sim/fixed_module_folder.h"
#include "sim/sim_backend.h"
#include "sim/sim_container.h"
#include "tests/control/course.h"

namespace {

using namespace tessaro;
using testing::Asana;
using testing::ClipRow;

// A control on the virtual clock with its course; media failures are not reported.
struct Rig {
    Rig() {
        interpreter.setErrorReporter([](const std::string&) {});
    }

    void open(const std::string& name) {
        control.Resourcedir(course.root());
        control.AsanaNaME(name);
        control.fileOpen();
    }

    sim::VirtualClock clock;
    sim::SimContainer container{clock};
    std::unique_ptr<media::SimBackend> ownedBackend = std::make_unique<media::SimBackend>(clock);
    media::SimBackend& backend = *ownedBackend;
    media::Interpreter interpreter{std::move(ownedBackend)};
    host::FixedModuleFolder moduleFolder{"/nonexistent"};
    testing::Course course;
    KavoVideoSync control{{catalogue::processEngine(), interpreter, container, moduleFolder}};
};

void narrationTick(benchmark::State& state) {
    Rig rig;
    rig.course.write(
        {testing::videoAsana("Still", 1, "still.mpg", {{"a", 0, 1e9}, {"b", 32767}}, 1e9)},
        rig.backend, rig.container.pictures());
    rig.open("Still");
    rig.container.advance(1000);
    sim::SimTimer& timer1 = rig.container.timer("Timer1");
    for (auto _ : state)
        timer1.fire();
    if (rig.control.state().VideoStatus != "Playing" || !timer1.enabled())
        state.SkipWithError("the playback left the running state");
}
BENCHMARK(narrationTick);

std::vector<Asana> largeCatalogue() {
    std::vector<Asana> asanas;
    for (int id = 1; id <= 1000; ++id) {
        std::vector<ClipRow> clips;
        for (int k = 0; k < 20; ++k)
            clips.push_back({"c" + std::to_string(id) + "_" + std::to_string(k), 25 * k, 500});
        asanas.push_back(testing::videoAsana("Asana " + std::to_string(id), id,
                                             "v" + std::to_string(id) + ".mpg", clips));
    }
    return asanas;
}

// Arg: the asana looked up (its row and clip table lie further into the file).
void fileOpenToPlaybackStart(benchmark::State& state) {
    Rig rig;
    rig.course.write(largeCatalogue(), rig.backend, rig.container.pictures());
    const std::string name = "Asana " + std::to_string(state.range(0));
    for (auto _ : state)
        rig.open(name);
    if (rig.control.TotalRec() != 20 || !rig.control.Timer1().enabled())
        state.SkipWithError("the asana did not start");
}
BENCHMARK(fileOpenToPlaybackStart)->Arg(1)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
