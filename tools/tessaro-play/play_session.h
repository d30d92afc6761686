// SPDX-License-Identifier: MIT
#pragma once

#include "tools/tessaro-play/play_options.h"

namespace tessaro::play {

// Exit codes of a run.
inline constexpr int ExitEnded = 0;
inline constexpr int ExitTimedOut = 1;
inline constexpr int ExitFailed = 2;
inline constexpr int ExitAsanaNotFound = 3;

// Hosts the control in a Qt application (a QApplication must exist), starts the playback
// or preview the options ask for and runs the event loop until VideoEnd, a failure or the
// timeout. Events are printed to stdout as they happen; messages meant for a box go to
// stderr. Returns the exit code.
int runPlaySession(const PlayOptions& options);

}  // namespace tessaro::play
