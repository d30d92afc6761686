// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <mutex>

#include <tessaro/host_container.h>
#include "platform/media/video_surface.h"

namespace tessaro::qt {

// A picture box child control: a child widget that shows its picture at its top left
// and, while a video device draws into its window handle, the latest video frame at
// its top left over it. It takes frames only while it is visible on screen (offscreen
// platforms included): a box whose window is hidden, as a headless host's is, costs no
// frame conversion. Positions are kept in twips and placed at 15 twips per pixel.
class QtPictureBox : public QWidget, public host::PictureBox, public media::VideoSurface {
    Q_OBJECT

  public:
    QtPictureBox(QWidget* parent, const QString& name, int left, int top, int width, int height);
    ~QtPictureBox() override;

    std::intptr_t windowHandle() const override { return handle_; }
    const host::Picture& picture() const override { return picture_; }
    void setPicture(const host::Picture& picture) override;
    int top() const override { return top_; }
    void setTop(int twips) override;

    bool showsFrames() const override { return visible_; }
    // Called on the streaming thread: copies the frame and schedules a repaint.
    void presentFrame(const std::uint8_t* pixels, int width, int height, int stride) override;
    void clearFrame() override;

    // The frame shown now; null when no video draws here.
    QImage currentFrame() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void scheduleRepaint();

    const std::intptr_t handle_;
    host::Picture picture_;
    int left_;
    int top_;
    mutable std::mutex frameMutex_;
    QImage frame_;
    std::atomic<bool> repaintPending_{false};
    // isVisible(), kept where a streaming thread may read it.
    std::atomic<bool> visible_{false};
};

// Twips to pixels at 15 twips per pixel, rounded to the nearest pixel.
int twipsToPixels(int twips);

}  // namespace tessaro::qt
