// SPDX-License-Identifier: MIT
#pragma once

#include "updater/update_procedure.h"

namespace mendrick {

// The inputs of this run, taken from the environment:
// - the profile file: MENDRICK_PROFILE when set and not empty; else Veltrana/Quillon.ini
//   in the user's configuration folder, $XDG_CONFIG_HOME when that is an absolute path,
//   else ~/.config. That is where the product, a Qt program, keeps its settings
//   (QSettings in INI format, organisation "Veltrana", application "Quillon"), and so
//   where its installation records itself;
// - the own folder: the folder of this program's file, from /proc/self/exe, else from
//   `argv0` when it holds a path (its links resolved); empty when neither tells;
// - the machine: that of this program's file.
UpdateSetup setupFromEnvironment(const char* argv0);

// True when MENDRICK_NONINTERACTIVE is "1": boxes are written to standard output
// instead of being shown, and nobody needs to press OK.
bool unattended();

// The program's exit code for an outcome: 0 updated, 1 not installed, 2 the installed
// library was left as it was (the copy failed, or was refused).
int exitCodeFor(Outcome outcome);

}  // namespace mendrick
