// SPDX-License-Identifier: MIT
// Shows the control in a real window playing the generated course's video asana and, a
// second into the video, photographs the whole screen with `import -window root`. With
// "formats", plays the real-world course's picture asana instead and photographs each
// picture as it is shown, put side by side by `montage` under its file's name.
// Usage: qt_screenshot_host OUTPUT.png [formats] (run under an X server, see
// take-screenshot.sh).
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>
#include <iostream>

#include <tessaro/kavo_video_sync_widget.h>
#include "tests/qt/real_world_course.h"
#include "tests/qt/test_course.h"

namespace {

using tessaro::KavoVideoSyncWidget;

// Each picture a moment after it is shown, the window's top left corner only.
int photographFormats(QApplication& app, KavoVideoSyncWidget& player, const QString& output) {
    tessaro::qt::testing::RealWorldCourse course;
    QStringList shots;
    QStringList montage;
    const auto photograph = [&] {
        const auto index = static_cast<std::size_t>(shots.size());
        if (index >= course.formats().size())
            return;
        const QString shot = output + QString(".%1.png").arg(index);
        shots << shot;
        montage << "-label" << course.formats()[index].file << shot;
        QTimer::singleShot(150, [shot] {
            QProcess::execute("import", {"-window", "root", "-crop", "240x140+40+40", shot});
        });
    };
    QObject::connect(&player, &KavoVideoSyncWidget::CurAudioNos, [&] {
        if (!shots.isEmpty())
            photograph();
    });
    QObject::connect(&player, &KavoVideoSyncWidget::VideoEnd, [&] {
        QProcess::execute("montage",
                          montage + QStringList{"-tile", "4x", "-geometry", "+6+6", output});
        for (const QString& shot : shots)
            QFile::remove(shot);
        std::cout << "screenshot " << output.toStdString() << "\n";
        app.quit();
    });
    QTimer::singleShot(500, [&] {
        player.setResourcedir(course.resourcedir());
        player.setAsanaNaME("Formats");
        player.fileOpen();
        photograph();
    });
    QTimer::singleShot(60000, &app, [&] { app.exit(1); });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool formats = argc == 3 && QString(argv[2]) == "formats";
    if (argc != 2 && !formats) {
        std::cerr << "usage: qt_screenshot_host OUTPUT.png [formats]\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);

    QWidget window;
    window.setWindowTitle("Tessaro");
    auto* layout = new QVBoxLayout(&window);
    auto* player = new tessaro::KavoVideoSyncWidget(&window);
    player->setFixedSize(player->sizeHint());
    layout->addWidget(player);
    window.move(40, 40);
    window.show();
    if (formats)
        return photographFormats(app, *player, output);

    tessaro::qt::testing::TestCourse course("testsrc=duration=2");

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
