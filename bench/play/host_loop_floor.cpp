// SPDX-License-Identifier: MIT
// What waking at the timer floor costs on this machine, with nothing done on a wake: the
// least a host can spend while the control's Timer1 runs, whatever the tick and the media
// cost. Prints the main thread's CPU-milliseconds per second, after a second of warm-up:
//
//   host_loop_floor            a Qt Widgets application whose only work is an empty tick
//                              of the host's own Timer1 (QtTimer, interval 1 ms), on the
//                              platform and event loop tessaro-play takes headless
//   host_loop_floor --plain    a bare poll() loop waking as often, without Qt
//
// bench/play/cpu-parity runs both next to its measurements.
#include <poll.h>

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "qt/qt_timer.h"

namespace {

constexpr auto WarmUp = std::chrono::seconds(1);
constexpr auto Measured = std::chrono::seconds(6);
constexpr int ControlIntervalMs = 1;

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Span {
    std::chrono::steady_clock::time_point start;
    double cpuMs;
};

Span begin() {
    return {std::chrono::steady_clock::now(), threadCpuMs()};
}

void printSince(const Span& span, const char* what) {
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - span.start;
    std::printf("%s: %.2f CPU-ms per second (%d ms wake-ups)\n", what,
                (threadCpuMs() - span.cpuMs) / seconds.count(),
                tessaro::qt::QtTimer::MinimumIntervalMs);
}

int plainLoop() {
    const auto wakes = [](std::chrono::milliseconds length) {
        for (auto k = length / std::chrono::milliseconds(tessaro::qt::QtTimer::MinimumIntervalMs);
             k > 0; --k)
            ::poll(nullptr, 0, tessaro::qt::QtTimer::MinimumIntervalMs);
    };
    wakes(WarmUp);
    const Span span = begin();
    wakes(Measured);
    printSince(span, "bare poll loop");
    return 0;
}

int qtLoop(int argc, char** argv) {
    QApplication app(argc, argv);
    QObject window;
    tessaro::qt::QtTimer timer(window, "Timer1", true, ControlIntervalMs);
    timer.onTick([] {});
    Span measuring{};
    QTimer::singleShot(WarmUp, [&] { measuring = begin(); });
    QTimer::singleShot(WarmUp + Measured, [&] {
        printSince(measuring, "Qt host loop");
        QApplication::quit();
    });
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "--plain")
        return plainLoop();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_NO_GLIB", "1", 0);
    return qtLoop(argc, argv);
}
