// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string_view>

#include "platform/media/interpreter.h"

namespace tessaro::mci {

// The longest "sleep": a day, far beyond any playback and far from the clock's overflow.
constexpr std::int64_t MaxSleepMs = 86'400'000;

// The console's line handling: each command line goes to the media service ("status"
// queries through sendString, everything else through execute) and prints one line,
// "OK", "OK REPLY" or "ERROR NUMBER TEXT". "sleep MS" waits (0 to MaxSleepMs) and prints
// nothing; blank lines and lines starting with '#' are skipped.
class Console {
  public:
    // Waits the given milliseconds: real time for the tool, the virtual clock in tests.
    using Sleep = std::function<void(std::int64_t ms)>;

    Console(media::Interpreter& service, std::ostream& out, Sleep sleep);

    // False when the line was a command that failed.
    bool runLine(std::string_view line);
    // Runs every line of the input; false when any command failed.
    bool runLines(std::istream& in);

  private:
    bool runCommand(std::string_view command);
    bool runSleep(std::string_view argument);
    bool printFailure(int number, std::string_view text);

    media::Interpreter& service_;
    std::ostream& out_;
    Sleep sleep_;
};

}  // namespace tessaro::mci
