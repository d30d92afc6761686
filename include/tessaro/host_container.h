// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include <tessaro/export.h>
#include <tessaro/picture.h>

namespace tessaro::host {

// A picture box child control. Positions are in twips (15 per pixel).
class TESSARO_EXPORT PictureBox {
  public:
    virtual ~PictureBox() = default;

    // The native window handle; a media device opened with "parent" + this handle draws
    // into this box. Stable for the box's lifetime.
    virtual std::intptr_t windowHandle() const = 0;
    virtual const Picture& picture() const = 0;
    virtual void setPicture(const Picture& picture) = 0;
    virtual int top() const = 0;
    virtual void setTop(int twips) = 0;
};

// A timer child control. While enabled, its tick runs every interval on the host's
// thread, through the message loop. Setting Enabled to true restarts the interval.
class TESSARO_EXPORT Timer {
  public:
    virtual ~Timer() = default;

    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;
    // Installs the tick handler (by the control at creation); an empty one detaches it
    // (by the control at its destruction).
    virtual void onTick(std::function<void()> tick) = 0;
};

// What the host window offers the control placed on it. All calls come from the host's
// thread. The container owns the child controls it creates; they live as long as it.
class TESSARO_EXPORT HostContainer {
  public:
    virtual ~HostContainer() = default;

    virtual PictureBox& createPictureBox(std::string_view name, int left, int top, int width,
                                         int height) = 0;
    virtual Timer& createTimer(std::string_view name, bool enabled, int intervalMs) = 0;

    // Lets pending window messages run once (timer ticks that are due, host events),
    // then returns.
    virtual void yield() = 0;
    // Shows a modal message box with an OK button only, no icon, and the platform's
    // default caption; returns when it is closed.
    virtual void messageBox(std::string_view text) = 0;
    // The property with this name was assigned (the host marks its saved state changed).
    virtual void propertyChanged(std::string_view name) = 0;
    // Raises a control event ("CurAudioNos", "VideoEnd") synchronously: returns when the
    // host's handlers have run.
    virtual void raiseEvent(std::string_view name) = 0;

    virtual PictureLoader& pictureLoader() = 0;
};

}  // namespace tessaro::host
