// SPDX-License-Identifier: MIT
#include "updater/qt_user_interface.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>
#include <string>

namespace mendrick {
namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtUserInterface::QtUserInterface(QWidget& window, bool unattended)
    : window_(window), unattended_(unattended) {}

void QtUserInterface::showMessage(std::string_view title, std::string_view text) {
    if (unattended_) {
        const std::string line = std::string(title) + ": " + std::string(text) + "\n";
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, qText(title), qText(text), QMessageBox::Ok, &window_);
    box.exec();
}

void QtUserInterface::yield() {
    QCoreApplication::processEvents();
}

}  // namespace mendrick
