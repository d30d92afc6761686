// SPDX-License-Identifier: MIT
#include "bench/soak/soak_host.h"

#include <tessaro/catalogue.h>

namespace tessaro::soak {
namespace {

constexpr int PlayToEndLimitMs = 60000;
constexpr const char* MissingAsana = "Asana the course lacks";

// Runs a method that reports failures by throwing; a failure is counted, not fatal.
template <typename Call>
void call(Tally& tally, Call method) {
    try {
        method();
    } catch (const Error&) {
        ++tally.failures;
    }
}

void playPauseResumeStop(SoakHost& host, Tally& tally) {
    KavoVideoSync& control = host.control();
    control.fileOpen();
    host.pass(1500);
    call(tally, [&] { control.Pause(); });
    host.pass(300);
    call(tally, [&] { control.Start(); });
    host.pass(700);
    control.StopPlay();
    ++tally.playbacksStopped;
}

// A host that goes from one asana to the next without stopping: each lookup closes the
// devices and replaces the catalogue handles of the playback before.
void switchThrough(SoakHost& host, const std::vector<course::AsanaEntry>& asanas, Tally& tally) {
    for (const course::AsanaEntry& asana : asanas) {
        host.control().AsanaNaME(asana.name);
        host.control().fileOpen();
        host.pass(500);
    }
    host.control().StopPlay();
    ++tally.playbacksStopped;
}

void preview(SoakHost& host, const CycleShape& shape, Tally& tally) {
    const int endsBefore = host.videoEnds;
    call(tally, [&] { host.control().Preview(); });
    host.passUntil([&] { return host.videoEnds > endsBefore; }, shape.previewMs);
    host.control().StopPlay();
    ++tally.previews;
}

void playToItsEnd(SoakHost& host, Tally& tally) {
    const int endsBefore = host.videoEnds;
    host.control().fileOpen();
    if (host.passUntil([&] { return host.videoEnds > endsBefore; }, PlayToEndLimitMs))
        ++tally.playbacksEnded;
    else
        ++tally.failures;
    host.control().StopPlay();
}

}  // namespace

void playCourseCycle(SoakHost& host, const CycleShape& shape, int cycle, Tally& tally) {
    const int messagesBefore = host.messages;
    const std::vector<course::AsanaEntry> asanas =
        course::listAsanas(catalogue::processEngine(), host.course());
    ++tally.lookups;
    KavoVideoSync& control = host.control();
    for (const course::AsanaEntry& asana : asanas) {
        control.AsanaNaME(asana.name);
        playPauseResumeStop(host, tally);
        preview(host, shape, tally);
    }
    switchThrough(host, asanas, tally);
    control.AsanaNaME(asanas[static_cast<std::size_t>(cycle) % asanas.size()].name);
    playToItsEnd(host, tally);
    control.AsanaNaME(MissingAsana);
    control.fileOpen();
    control.StopPlay();
    ++tally.lookups;
    tally.messages += host.messages - messagesBefore;
}

}  // namespace tessaro::soak
