#pragma once

#include <QApplication>

namespace tessaro::qt::testing {

// The one QApplication of a test program, created on first use.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "tessaro-qt-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace tessaro::qt::testing
