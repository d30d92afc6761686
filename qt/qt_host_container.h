// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include <tessaro/host_container.h>
#include "qt/qt_picture_box.h"
#include "qt/qt_picture_loader.h"
#include "qt/qt_timer.h"

namespace tessaro::qt {

// The container of one control on a Qt window: picture boxes are child widgets of the
// control's widget, timers are precise QTimers, the yield runs Qt's pending events once
// and message boxes go through presentMessage. Property changes and events are handed to
// the widget synchronously through the two callbacks.
class QtHostContainer : public host::HostContainer {
  public:
    using NameCallback = std::function<void(std::string_view name)>;

    QtHostContainer(QWidget& window, NameCallback propertyChanged, NameCallback raiseEvent);

    host::PictureBox& createPictureBox(std::string_view name, int left, int top, int width,
                                       int height) override;
    host::Timer& createTimer(std::string_view name, bool enabled, int intervalMs) override;
    void yield() override;
    void messageBox(std::string_view text) override;
    void propertyChanged(std::string_view name) override;
    void raiseEvent(std::string_view name) override;
    host::PictureLoader& pictureLoader() override { return loader_; }

    // The timer created under that name; nullptr when none was.
    QtTimer* timer(std::string_view name) const;

  private:
    QWidget& window_;
    NameCallback propertyChanged_;
    NameCallback raiseEvent_;
    QtPictureLoader loader_;
    std::vector<std::unique_ptr<QtTimer>> timers_;
};

}  // namespace tessaro::qt
