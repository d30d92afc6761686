// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>

namespace tessaro::qt::testing {

// The one QApplication of a test program, created on first use, headless unless the
// environment names a platform. It is never destroyed: at exit Qt's own globals may
// already be gone.
inline QApplication& application() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tessaro-qt-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A base of fixtures whose members are widgets: it makes the application first.
struct WithApplication {
    WithApplication() { application(); }
};

}  // namespace tessaro::qt::testing
