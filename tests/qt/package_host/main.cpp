// SPDX-License-Identifier: MIT
// Places the control on a window, sets its properties and prints what it reads back.
#include <QApplication>
#include <iostream>

#include <tessaro/kavo_video_sync_widget.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tessaro::KavoVideoSyncWidget widget;
    widget.setAsanaNaME("Tadasana");
    widget.setTotalRec(3);
    std::cout << widget.AsanaNaME().toStdString() << ' ' << widget.TotalRec() << ' '
              << widget.width() << 'x' << widget.height() << ' '
              << widget.control().Timer1().interval() << "ms\n";
    return 0;
}
