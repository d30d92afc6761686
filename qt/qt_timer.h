// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>
#include <functional>

#include <tessaro/host_container.h>

namespace tessaro::qt {

// A timer child control over a precise QTimer on the GUI thread, a child object of the
// control's widget under the timer's name. A tick that is due while the previous tick of
// the same timer still runs (inside a yield) is skipped.
//
// Intervals shorter than MinimumIntervalMs are realised as MinimumIntervalMs, as a window
// timer of the desktop platform the control was written for fires at most every 10 ms
// (typically every 15.6 ms): the control's 1 ms Timer1 polls its devices as often as it
// did there, not a thousand times a second. interval() answers the interval asked for.
//
// Such a fine timer can be given a wake plan, which tells after each tick how long the
// next can wait because nothing it looks at can change before: it then ticks at those
// waits instead, the first tick after an enable still after MinimumIntervalMs.
class QtTimer : public host::Timer {
  public:
    static constexpr int MinimumIntervalMs = 10;
    // Milliseconds until the next tick is needed; called on the GUI thread after each tick.
    using WakePlan = std::function<int()>;

    QtTimer(QObject& window, const QString& name, bool enabled, int intervalMs);

    bool enabled() const override;
    void setEnabled(bool enabled) override;
    int interval() const override;
    void setInterval(int milliseconds) override;
    void onTick(std::function<void()> tick) override;
    void setWakePlan(WakePlan plan);
    // Any thread: something changed that the plan did not foresee; a planned timer that is
    // enabled ticks at once.
    void wakeSoon();
    QString name() const { return timer_.objectName(); }

  private:
    void runTick();
    bool planned() const;

    QTimer& timer_;
    int intervalMs_ = 0;
    std::function<void()> tick_;
    WakePlan plan_;
    bool ticking_ = false;
};

}  // namespace tessaro::qt
