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
    void record(std::string_view entry, std::string_view command, unsigned result,
                std::string_view detail) const;

  private:
    bool enabled_;
};

}  // namespace tessaro::media
