// SPDX-License-Identifier: MIT
#include "bench/soak/qt_host.h"

#include <QEventLoop>
#include <QTimer>

#include <tessaro/message_presenter.h>

namespace tessaro::soak {

QtHost::QtHost(std::string course) : course_(std::move(course)) {
    qt::setMessagePresenter([this](const std::string&) { ++messages; });
    QObject::connect(&widget_, &KavoVideoSyncWidget::VideoEnd, [this] { ++videoEnds; });
    widget_.setResourcedir(QString::fromStdString(course_));
}

QtHost::~QtHost() {
    qt::setMessagePresenter({});
}

void QtHost::pass(int ms) {
    passUntil([] { return false; }, ms);
}

// The event loop runs as a host's does, idle between events; the condition is looked at
// every few milliseconds.
bool QtHost::passUntil(const std::function<bool()>& condition, int limitMs) {
    if (condition())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (condition())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

}  // namespace tessaro::soak
