#pragma once

#include "updater/update_procedure.h"

namespace mendrick {

// The inputs of this run, taken from the environment:
// - the profile file: MENDRICK_PROFILE when set and not empty, else the win.ini of the
//   Wine prefix, where the product's installer (a Windows program run under Wine)
//   records the installation;
// - the Wine prefix: WINEPREFIX when set and not empty, else ~/.wine; its "dosdevices"
//   folder maps drive letters;
// - the own folder: the folder of this program's file (/proc/self/exe).
UpdateSetup setupFromEnvironment();

// True when MENDRICK_NONINTERACTIVE is "1": boxes are written to standard output
// instead of being shown, and nobody needs to press OK.
bool unattended();

// The program's exit code for an outcome: 0 updated, 1 not installed, 2 copy failed.
int exitCodeFor(Outcome outcome);

}  // namespace mendrick
