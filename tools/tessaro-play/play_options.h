// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaro::play {

enum class PlayMode { Lookup, Preview, PicturePreview, List, Help, Version };

// The range --timeout takes: the event loop's timer counts whole milliseconds, and a day
// outlasts any asana.
constexpr double MinTimeoutSeconds = 0.001;
constexpr double MaxTimeoutSeconds = 86400;
constexpr int MaxTimes = 1000;

struct PlayOptions {
    std::string resourceDir;
    std::string asana;
    PlayMode mode = PlayMode::Lookup;
    bool window = false;
    bool json = false;
    // Seconds, within the range above; empty means the default for the asana's length.
    std::optional<double> timeoutSeconds;
    // How often the asana is played, one play after the other in the same host.
    int times = 1;
};

// Parses the command line (without the program name). Throws std::invalid_argument with
// a message for the user on a bad argument.
PlayOptions parsePlayOptions(const std::vector<std::string>& args);

// What --help prints; the manual page is made from it.
extern const char* const PlayHelp;

}  // namespace tessaro::play
