// SPDX-License-Identifier: MIT
#include "examples/demo-host/demo_window.h"
#include "control/kavo_video_sync_fields.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <iostream>

#include <tessaro/catalogue.h>
#include <tessaro/version.h>

#include "course/asana_list.h"

namespace tessaro::demo {

DemoWindow::DemoWindow(const QString& courseFolder)
    : courseFolder_(courseFolder),
      control_(new KavoVideoSyncWidget),
      asanas_(new QListWidget),
      log_(new QPlainTextEdit) {
    setWindowTitle("Tessaro demo host - " + courseFolder);
    log_->setReadOnly(true);
    asanas_->setMinimumWidth(220);

    auto* centre = new QVBoxLayout;
    centre->addWidget(control_);
    centre->addWidget(buildButtons());
    centre->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(asanas_);
    top->addLayout(centre);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(log_);
    setCentralWidget(page);

    connect(control_, &KavoVideoSyncWidget::CurAudioNos, this, [this] {
        const auto& state = control_->control().state();
        log(QString("CurAudioNos  TotalRec %1  AudioNo %2").arg(state.TotalRec).arg(state.AudioNo));
    });
    connect(control_, &KavoVideoSyncWidget::VideoEnd, this, [this] { log("VideoEnd"); });
    control_->setResourcedir(courseFolder_);
    clock_.start();
    log(QString("Tessaro %1").arg(tessaro::version()));
    loadCourse();
}

QWidget* DemoWindow::buildButtons() {
    struct Button {
        const char* label;
        void (KavoVideoSyncWidget::*method)();
    };
    const Button buttons[] = {
        {"Play", &KavoVideoSyncWidget::fileOpen},
        {"Pause", &KavoVideoSyncWidget::Pause},
        {"Resume", &KavoVideoSyncWidget::Start},
        {"Stop", &KavoVideoSyncWidget::StopPlay},
        {"Preview", &KavoVideoSyncWidget::Preview},
        {"Picture preview", &KavoVideoSyncWidget::Ppreview},
    };
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& button : buttons) {
        auto* widget = new QPushButton(button.label);
        connect(widget, &QPushButton::clicked, this,
                [this, button] { run(button.label, button.method); });
        layout->addWidget(widget);
    }
    return row;
}

void DemoWindow::loadCourse() {
    try {
        for (const auto& entry :
             course::listAsanas(catalogue::processEngine(), courseFolder_.toStdString())) {
            auto* item = new QListWidgetItem(QString::fromStdString(
                entry.name + "  (" + entry.kind + ", " + std::to_string(entry.clips) + ")"));
            item->setData(Qt::UserRole, QString::fromStdString(entry.name));
            asanas_->addItem(item);
        }
        asanas_->setCurrentRow(0);
    } catch (const Error& error) {
        log(QString("cannot read the course: error %1: %2")
                .arg(error.number())
                .arg(QString::fromStdString(error.text())));
    }
}

void DemoWindow::run(const QString& label, void (KavoVideoSyncWidget::*method)()) {
    if (auto* item = asanas_->currentItem()) {
        control_->setAsanaNaME(item->data(Qt::UserRole).toString());
    }
    log(label + "  " + control_->AsanaNaME());
    try {
        (control_->*method)();
    } catch (const Error& error) {
        log(QString("  error %1: %2")
                .arg(error.number())
                .arg(QString::fromStdString(error.text())));
    }
}

void DemoWindow::playOnStart(const QString& asana) {
    for (int row = 0; row < asanas_->count(); ++row) {
        if (asanas_->item(row)->data(Qt::UserRole).toString() == asana)
            asanas_->setCurrentRow(row);
    }
    QTimer::singleShot(0, this, [this] { run("Play", &KavoVideoSyncWidget::fileOpen); });
}

void DemoWindow::log(const QString& line) {
    const QString stamped = QString("%1 s  ").arg(clock_.elapsed() / 1000.0, 7, 'f', 3) + line;
    log_->appendPlainText(stamped);
    std::cout << stamped.toStdString() << std::endl;
}

}  // namespace tessaro::demo
