// SPDX-License-Identifier: MIT
// Shows the control in a real window playing the generated course's video asana and, a
// second into the video, photographs the whole screen with `import -window root`.
// Usage: qt_screenshot_host OUTPUT.png (run under an X server, see take-screenshot.sh).
#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>
#include <iostream>

#include "platform/qt/kavo_video_sync_widget.h"
#include "tests/qt/test_course.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: qt_screenshot_host OUTPUT.png\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    tessaro::qt::testing::TestCourse course("testsrc=duration=2");

    QWidget window;
    window.setWindowTitle("Tessaro - Tadasana");
    auto* layout = new QVBoxLayout(&window);
    auto* player = new tessaro::KavoVideoSyncWidget(&window);
    player->setFixedSize(player->sizeHint());
    layout->addWidget(player);
    window.move(40, 40);
    window.show();

    int narrations = 0;
    QObject::connect(player, &tessaro::KavoVideoSyncWidget::CurAudioNos, [&] {
        if (++narrations != 2)
            return;
        int status = QProcess::execute("import", {"-window", "root", output});
        std::cout << "screenshot " << output.toStdString() << " status " << status << "\n";
    });
    QObject::connect(player, &tessaro::KavoVideoSyncWidget::VideoEnd, &app, &QApplication::quit);
    QTimer::singleShot(500, [&] {
        player->setResourcedir(course.resourcedir());
        player->setAsanaNaME("Tadasana");
        player->fileOpen();
    });
    QTimer::singleShot(60000, &app, [&] { app.exit(1); });
    return app.exec();
}
