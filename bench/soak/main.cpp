// SPDX-License-Identifier: MIT
// A soak of the control over the sample course: hundreds of cycles of play, pause,
// resume, stop, preview, play to the end and lookups, first on the virtual clock (sim
// media backend, real catalogue engine), then in real time on GStreamer through the Qt
// widget. Prints, per phase, the process's open descriptors, threads, resident memory
// and live GStreamer pipelines after the warm-up cycles and after the last cycle, and
// what grew. Exits 1 when descriptors or pipelines are not back to their start values
// or a playback failed.
//
// usage: playback_soak COURSE_DIR [--cycles N] [--real-cycles N]
//   COURSE_DIR: made by tools/make-sample-course. Defaults: 300 virtual, 5 real cycles.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <tessaro/catalogue.h>
#include "bench/soak/process_figures.h"
#include "bench/soak/qt_host.h"
#include "bench/soak/virtual_host.h"
#include "course/course_folder.h"
#include "platform/paths/paths.h"

namespace {

using namespace tessaro::soak;

struct Options {
    std::string course;
    int cycles = 300;
    int realCycles = 5;
};

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: playback_soak COURSE_DIR [--cycles N] [--real-cycles N]\n");
    std::exit(2);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int k = 1; k < argc; ++k) {
        const std::string argument = argv[k];
        if ((argument == "--cycles" || argument == "--real-cycles") && k + 1 < argc)
            (argument == "--cycles" ? options.cycles : options.realCycles) = std::atoi(argv[++k]);
        else if (options.course.empty() && argument.rfind("--", 0) != 0)
            options.course = std::filesystem::absolute(argument).string();
        else
            usage();
    }
    if (options.course.empty() || options.cycles < 0 || options.realCycles < 0)
        usage();
    return options;
}

void printFigures(const char* phase, const char* when, int cycles, const ProcessFigures& f) {
    std::printf("%-8s %-6s %7d %12d %8d %12ld %10d\n", phase, when, cycles, f.descriptors,
                f.threads, f.residentKiB, f.pipelines);
}

// Measured after a second of idling: streaming threads of the last playback take a
// moment to go back to GStreamer's pool or end.
ProcessFigures settledFigures(SoakHost& host) {
    host.pass(1000);
    return measureProcess();
}

// Warm-up cycles first, until every asana has been played to its end once: what the
// first playbacks set up for good (GStreamer's plugins and thread pool, Qt's fonts, the
// catalogue engine) is no growth.
bool runPhase(const char* phase, SoakHost& host, const CycleShape& shape, int cycles) {
    Tally tally;
    const auto warmUp = static_cast<int>(
        tessaro::course::listAsanas(tessaro::catalogue::processEngine(), host.course()).size());
    for (int cycle = 0; cycle < warmUp; ++cycle)
        playCourseCycle(host, shape, cycle, tally);
    tally = Tally{};
    const ProcessFigures start = settledFigures(host);
    printFigures(phase, "start", warmUp, start);
    const auto began = std::chrono::steady_clock::now();
    for (int cycle = warmUp; cycle < warmUp + cycles; ++cycle)
        playCourseCycle(host, shape, cycle, tally);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    const ProcessFigures end = settledFigures(host);
    printFigures(phase, "end", warmUp + cycles, end);
    std::printf("%-8s growth %7s %+12d %+8d %+12ld %+10d\n", phase, "",
                end.descriptors - start.descriptors, end.threads - start.threads,
                end.residentKiB - start.residentKiB, end.pipelines - start.pipelines);
    std::printf(
        "         %.1f s; played to the end %d, stopped %d, previews %d, lookups %d, "
        "messages %d, failures %d\n",
        took.count(), tally.playbacksEnded, tally.playbacksStopped, tally.previews, tally.lookups,
        tally.messages, tally.failures);
    return end.descriptors == start.descriptors && end.pipelines == start.pipelines &&
           tally.failures == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    if (!std::filesystem::exists(
            tessaro::paths::resolve(tessaro::course::cataloguePath(options.course)))) {
        std::fprintf(stderr, "playback_soak: no course in %s (tools/make-sample-course DIR)\n",
                     options.course.c_str());
        return 2;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Picture previews read the catalogue below the library's folder: the course's here.
    ::setenv("TESSARO_MODULE_DIR", options.course.c_str(), 0);
    followPipelines();
    QApplication app(argc, argv);

    std::printf("%-8s %-6s %7s %12s %8s %12s %10s\n", "phase", "when", "cycles", "descriptors",
                "threads", "resident KiB", "pipelines");
    printFigures("process", "begin", 0, measureProcess());
    bool held = true;
    {
        VirtualHost host(options.course);
        held = runPhase("virtual", host, CycleShape{60000}, options.cycles) && held;
    }
    {
        QtHost host(options.course);
        held = runPhase("real", host, CycleShape{1500}, options.realCycles) && held;
    }
    return held ? 0 : 1;
}
