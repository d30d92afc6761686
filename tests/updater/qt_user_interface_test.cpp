// SPDX-License-Identifier: MIT
// The Qt face of the updater: its window's label and its message boxes.

#include "updater/qt_user_interface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "updater/updater_window.h"

namespace mendrick {
namespace {

QApplication& application() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_user_interface_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
};

TEST(QtUserInterface, WindowCarriesTheLabelInVerdana) {
    application();
    const UpdaterWindow window;
    const QList<QLabel*> labels = window.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front()->text(), QStringLiteral("Updating.... Calmerin"));
    EXPECT_EQ(labels.front()->font().family(), QStringLiteral("Verdana"));
}

TEST(QtUserInterface, ShowsAModalOkOnlyBoxAndReturnsWhenItIsDismissed) {
    application();
    UpdaterWindow window;
    QtUserInterface ui(window, false);
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QApplication::closeAllWindows();  // let the call return; the checks then fail
            return;
        }
        seen = {box->windowTitle(), box->text(), box->standardButtons(), box->isModal()};
        box->button(QMessageBox::Ok)->click();
    });

    ui.showMessage("Veltrana", "Veltrana, Updated Successfully");

    EXPECT_EQ(seen.title, QStringLiteral("Veltrana"));
    EXPECT_EQ(seen.text, QStringLiteral("Veltrana, Updated Successfully"));
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(seen.modal);
}

}  // namespace
}  // namespace mendrick
