// SPDX-License-Identifier: MIT
#include "updater/updater_window.h"

#include <QFont>
#include <QVBoxLayout>

namespace mendrick {

UpdaterWindow::UpdaterWindow() : label_(new QLabel(QStringLiteral("Updating.... Calmerin"))) {
    label_->setFont(QFont(QStringLiteral("Verdana")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
}

}  // namespace mendrick
