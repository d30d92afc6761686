#include "platform/media/trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessaro::media {
namespace {

std::string monotonicStamp() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.3f",
                  std::chrono::duration<double, std::milli>(now).count());
    return stamp;
}

}  // namespace

Trace::Trace() {
    const char* setting = std::getenv("TESSARO_TRACE");
    enabled_ = setting && std::string_view(setting) == "1";
}

void Trace::record(std::string_view entry, std::string_view command, unsigned result,
                   std::string_view detail) const {
    if (!enabled_)
        return;
    // One write per line, so that lines of several threads or processes do not mix.
    const std::string line = "[media " + monotonicStamp() + " ms] " + std::string(entry) + " \"" +
                             std::string(command) + "\" -> " + std::to_string(result) + " \"" +
                             std::string(detail) + "\"\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace tessaro::media
