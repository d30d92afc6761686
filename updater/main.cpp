// SPDX-License-Identifier: MIT
// mendrick: replaces the installed Tessaro control library with the one that lies beside
// this program. It takes no arguments; see docs/mendrick.md.

#include <QApplication>

#include "updater/qt_user_interface.h"
#include "updater/update_procedure.h"
#include "updater/updater_environment.h"
#include "updater/updater_window.h"

int main(int argc, char** argv) {
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
