// SPDX-License-Identifier: MIT
#include "qt/qt_timer.h"

#include <algorithm>
#include <exception>

#include <tessaro/message_presenter.h>

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
        timer_.start(std::max(intervalMs_, MinimumIntervalMs));
    else
        timer_.stop();
}

int QtTimer::interval() const {
    return intervalMs_;
}

void QtTimer::setInterval(int milliseconds) {
    intervalMs_ = milliseconds;
    timer_.setInterval(std::max(milliseconds, MinimumIntervalMs));
}

void QtTimer::onTick(std::function<void()> tick) {
    tick_ = std::move(tick);
}

void QtTimer::setWakePlan(WakePlan plan) {
    plan_ = std::move(plan);
}

void QtTimer::wakeSoon() {
    QMetaObject::invokeMethod(
        &timer_,
        [this] {
            if (planned() && timer_.isActive())
                timer_.start(0);
        },
        Qt::QueuedConnection);
}

bool QtTimer::planned() const {
    return plan_ && intervalMs_ <= MinimumIntervalMs;
}

// The tick runs inside Qt's event loop, which must never see an exception: a failure the
// control did not handle itself is shown to the user and the loop goes on.
void QtTimer::runTick() {
    if (ticking_ || !tick_)
        return;
    ticking_ = true;
    try {
        tick_();
        // A tick that disabled its timer for good is not woken again.
        if (planned() && timer_.isActive())
            timer_.start(plan_());
    } catch (const std::exception& failure) {
        presentMessage(describeFailure(failure));
    }
    ticking_ = false;
}

}  // namespace tessaro::qt
