// SPDX-License-Identifier: MIT
#include "platform/qt/qt_timer.h"

#include <algorithm>
#include <exception>

#include "platform/qt/message_presenter.h"

namespace tessaro::qt {

QtTimer::QtTimer(QObject& window, const QString& name, bool enabled, int intervalMs)
    : timer_(*new QTimer(&window)) {
    timer_.setObjectName(name);
    timer_.setTimerType(Qt::PreciseTimer);
    setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { runTick(); });
    setEnabled(enabled);
}

bool QtTimer::enabled() const {
    return timer_.isActive();
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

int QtTimer::interval() const {
    return intervalMs_;
}

void QtTimer::setInterval(int milliseconds) {
    intervalMs_ = milliseconds;
    timer_.setInterval(std::max(milliseconds, minimumIntervalMs));
}

void QtTimer::onTick(std::function<void()> tick) {
    tick_ = std::move(tick);
}

// The tick runs inside Qt's event loop, which must never see an exception: a failure the
// control did not handle itself is shown to the user and the loop goes on.
void QtTimer::runTick() {
    if (ticking_ || !tick_)
        return;
    ticking_ = true;
    try {
        tick_();
    } catch (const std::exception& failure) {
        presentMessage(describeFailure(failure));
    }
    ticking_ = false;
}

}  // namespace tessaro::qt
