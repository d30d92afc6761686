// SPDX-License-Identifier: MIT
#include "qt/qt_picture_box.h"

#include <QPainter>

#include "qt/qt_picture_loader.h"
#include "qt/window_handles.h"

namespace tessaro::qt {

int twipsToPixels(int twips) {
    return qRound(twips / 15.0);
}

QtPictureBox::QtPictureBox(QWidget* parent, const QString& name, int left, int top, int width,
                           int height)
    : QWidget(parent), handle_(nextWindowHandle()), left_(left), top_(top) {
    setObjectName(name);
    setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                twipsToPixels(height));
    setAutoFillBackground(true);
    media::registerVideoSurface(handle_, this);
    show();
}

QtPictureBox::~QtPictureBox() {
    media::unregisterVideoSurface(handle_);
}

void QtPictureBox::setPicture(const host::Picture& picture) {
    picture_ = picture;
    update();
}

void QtPictureBox::setTop(int twips) {
    top_ = twips;
    move(twipsToPixels(left_), twipsToPixels(twips));
}

void QtPictureBox::presentFrame(const std::uint8_t* pixels, int width, int height, int stride) {
    {
        const QImage borrowed(pixels, width, height, stride, QImage::Format_RGBX8888);
        std::lock_guard lock(frameMutex_);
        frame_ = borrowed.copy();
    }
    scheduleRepaint();
}

void QtPictureBox::clearFrame() {
    {
        std::lock_guard lock(frameMutex_);
        frame_ = QImage();
    }
    scheduleRepaint();
}

QImage QtPictureBox::currentFrame() const {
    std::lock_guard lock(frameMutex_);
    return frame_;
}

// One queued repaint at a time, however fast frames arrive; the repaint shows whatever
// frame is latest when it runs.
void QtPictureBox::scheduleRepaint() {
    if (repaintPending_.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            repaintPending_ = false;
            update();
        },
        Qt::QueuedConnection);
}

void QtPictureBox::showEvent(QShowEvent*) {
    visible_ = true;
}

void QtPictureBox::hideEvent(QHideEvent*) {
    visible_ = false;
}

void QtPictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage image = pictureImage(picture_);
    if (!image.isNull())
        painter.drawImage(0, 0, image);
    const QImage frame = currentFrame();
    if (!frame.isNull())
        painter.drawImage(0, 0, frame);
}

}  // namespace tessaro::qt
