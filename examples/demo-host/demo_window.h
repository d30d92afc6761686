// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>

#include <tessaro/kavo_video_sync_widget.h>

class QListWidget;
class QPlainTextEdit;

namespace tessaro::demo {

// A small host: the asanas of a course on the left, the control in the middle, the
// transport buttons below it and a log of the control's events at the bottom.
class DemoWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit DemoWindow(const QString& courseFolder);
    // Selects the asana and plays it once the event loop runs.
    void playOnStart(const QString& asana);

  private:
    QWidget* buildButtons();
    void loadCourse();
    // Runs one of the control's methods on the selected asana; a failure goes to the log.
    void run(const QString& label, void (KavoVideoSyncWidget::*method)());
    // Adds a line to the log, and writes it to standard output so that a run can be
    // followed from a terminal or a script.
    void log(const QString& line);

    QString courseFolder_;
    KavoVideoSyncWidget* control_;
    QListWidget* asanas_;
    QPlainTextEdit* log_;
    QElapsedTimer clock_;
};

}  // namespace tessaro::demo
