#pragma once

#include <QTimer>
#include <functional>

#include "platform/host/host_container.h"

namespace tessaro::qt {

// A timer child control over a precise QTimer on the GUI thread, a child object of the
// control's widget under the timer's name. A tick that is due while the previous tick of
// the same timer still runs (inside a yield) is skipped.
class QtTimer : public host::Timer {
  public:
    QtTimer(QObject& window, const QString& name, bool enabled, int intervalMs);

    bool enabled() const override;
    void setEnabled(bool enabled) override;
    int interval() const override;
    void setInterval(int milliseconds) override;
    void onTick(std::function<void()> tick) override;

  private:
    void runTick();

    QTimer& timer_;
    std::function<void()> tick_;
    bool ticking_ = false;
};

}  // namespace tessaro::qt
