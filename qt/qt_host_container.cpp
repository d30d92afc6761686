// SPDX-License-Identifier: MIT
#include "qt/qt_host_container.h"

#include <QCoreApplication>
#include <string>

#include <tessaro/message_presenter.h>

namespace tessaro::qt {
namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

QtHostContainer::QtHostContainer(QWidget& window, NameCallback propertyChanged,
                                 NameCallback raiseEvent)
    : window_(window),
      propertyChanged_(std::move(propertyChanged)),
      raiseEvent_(std::move(raiseEvent)) {}

// The box is a child widget: the window deletes it with itself.
host::PictureBox& QtHostContainer::createPictureBox(std::string_view name, int left, int top,
                                                    int width, int height) {
    return *new QtPictureBox(&window_, toQString(name), left, top, width, height);
}

host::Timer& QtHostContainer::createTimer(std::string_view name, bool enabled, int intervalMs) {
    return *timers_.emplace_back(
        std::make_unique<QtTimer>(window_, toQString(name), enabled, intervalMs));
}

QtTimer* QtHostContainer::timer(std::string_view name) const {
    for (const auto& timer : timers_) {
        if (timer->name() == toQString(name))
            return timer.get();
    }
    return nullptr;
}

void QtHostContainer::yield() {
    QCoreApplication::processEvents();
}

void QtHostContainer::messageBox(std::string_view text) {
    presentMessage(std::string(text));
}

void QtHostContainer::propertyChanged(std::string_view name) {
    propertyChanged_(name);
}

void QtHostContainer::raiseEvent(std::string_view name) {
    raiseEvent_(name);
}

}  // namespace tessaro::qt
