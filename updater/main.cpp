// SPDX-License-Identifier: MIT
// mendrick: replaces the installed Tessaro control library with the one that lies beside
// this program. It takes no arguments but --help and --version; see docs/mendrick.md.

#include <QApplication>
#include <cstring>
#include <iostream>

#include "updater/qt_user_interface.h"
#include "updater/update_procedure.h"
#include "updater/updater_environment.h"
#include "updater/updater_window.h"

namespace {

// What --help prints; the manual page is made from it.
constexpr const char* Help =
    "Usage: mendrick\n"
    "  or:  mendrick --help | --version\n"
    "Replace the Tessaro control of the installed Veltrana product with the one it carries.\n"
    "\n"
    "Reads the installation folder from the profile file (section Quillon, key DestPath),\n"
    "checks that the product's main program (quillon) is there, and puts the Tessaro.ocx\n"
    "that lies beside the mendrick program in place of the installation's Tessaro.ocx.\n"
    "It refuses a library the installation could not load (a Windows library, or one of\n"
    "another machine) and leaves the installed file untouched whenever the update fails.\n"
    "Each outcome is shown in a box titled \"Veltrana\".\n"
    "\n"
    "Options:\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "Environment:\n"
    "  MENDRICK_PROFILE           the profile file to read; when unset or empty,\n"
    "                             $XDG_CONFIG_HOME/Veltrana/Quillon.ini (an absolute\n"
    "                             XDG_CONFIG_HOME), else ~/.config/Veltrana/Quillon.ini\n"
    "  MENDRICK_NONINTERACTIVE=1  open no window: each box is written to standard output\n"
    "                             as one line, \"TITLE: TEXT\"\n"
    "\n"
    "Exit status:\n"
    "  0   updated\n"
    "  1   the product is not installed\n"
    "  2   the installed library was left as it was (the update failed or was refused)\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << Help;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "mendrick (Tessaro) " TESSARO_TOOLS_VERSION "\n";
            return 0;
        }
    }
    const bool unattended = mendrick::unattended();
    if (unattended)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    mendrick::UpdaterWindow window;
    mendrick::QtUserInterface ui(window, unattended);
    const mendrick::Outcome outcome =
        mendrick::runUpdate(mendrick::setupFromEnvironment(argv[0]), ui);
    window.close();
    return mendrick::exitCodeFor(outcome);
}
