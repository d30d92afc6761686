// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QDir>
#include <filesystem>
#include <iostream>
#include <string_view>

#include <tessaro/version.h>

#include "examples/demo-host/demo_window.h"

// tessaro-demo-host COURSE_FOLDER [ASANA]: a window to play, pause, resume, stop and preview
// the asanas of a course (the sample course: build/sample-course); with ASANA, that asana
// starts playing as the window opens. tessaro-demo-host --version: the version of the
// control library it has loaded.
int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << std::filesystem::path(argv[0]).filename().string() << " (Tessaro) "
                  << tessaro::version() << "\n";
        return 0;
    }
    const QString course = argc > 1 ? QDir(argv[1]).absolutePath() : QDir::currentPath();
    // The picture preview reads the catalogue below the library's folder; let the course
    // folder stand for it unless the environment says otherwise.
    ::setenv("TESSARO_MODULE_DIR", course.toLocal8Bit().constData(), 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessaro demo host");
    tessaro::demo::DemoWindow window(course);
    window.resize(820, 600);
    window.show();
    if (argc > 2)
        window.playOnStart(QString::fromLocal8Bit(argv[2]));
    return QApplication::exec();
}
