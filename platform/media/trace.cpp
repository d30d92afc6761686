// SPDX-License-Identifier: MIT
#include "platform/media/trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessaro::media {
namespace {

bool traceRequested() {
    const char* setting = std::getenv("TESSARO_TRACE");
    return setting && std::string_view(setting) == "1";
}

// One write per line, so that lines of several threads or processes do not mix.
void writeStamped(std::string_view text) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "[media %.3f ms] ",
                  std::chrono::duration<double, std::milli>(now).count());
    const std::string line = stamp + std::string(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

Trace::Trace() : enabled_(traceRequested()) {}

void Trace::record(std::string_view entry, std::string_view command, int result,
                   std::string_view detail) const {
    if (!enabled_)
        return;
    writeStamped(std::string(entry) + " \"" + std::string(command) + "\" -> " +
                 std::to_string(result) + " \"" + std::string(detail) + "\"");
}

void traceEvent(std::string_view text) {
    if (traceEventsOn())
        writeStamped(text);
}

bool traceEventsOn() {
    return traceRequested();
}

}  // namespace tessaro::media
