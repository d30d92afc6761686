// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace tessaro::media {

// Writes every command with its result and reply to stderr, one line each, stamped with
// the milliseconds of the monotonic clock; on when TESSARO_TRACE is "1" as the service
// is created.
class Trace {
  public:
    Trace();

    bool enabled() const { return enabled_; }
    // entry names the entry point ("execute", "sendString"); detail is the reply, or
    // the error text of a failure.
    void record(std::string_view entry, std::string_view command, int result,
                std::string_view detail) const;

  private:
    bool enabled_;
};

// Writes one stamped line, in the form of the command lines, for what a device does
// between commands (a video frame reaching its surface); on when TESSARO_TRACE is "1" at
// the time of the call. Safe to call from streaming threads.
void traceEvent(std::string_view text);

// Whether traceEvent writes now: lets a caller skip composing a line nobody reads.
bool traceEventsOn();

}  // namespace tessaro::media
