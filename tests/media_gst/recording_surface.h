// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/media/video_surface.h"

namespace tessaro::media::testing {

// A surface that keeps what it was given, read from the test's thread while frames
// arrive on a streaming thread. It shows frames unless told otherwise.
class RecordingSurface : public VideoSurface {
  public:
    bool showsFrames() const override { return shows_; }
    void setShowsFrames(bool shows) { shows_ = shows; }

    struct Seen {
        int frames = 0;
        int clears = 0;
        int framesAfterClear = 0;
        int width = 0;
        int height = 0;
        int stride = 0;
        bool anyLitPixel = false;
        // Red of the middle pixel of the frame shown last.
        int middleRed = 0;
    };

    void presentFrame(const std::uint8_t* pixels, int width, int height, int stride) override {
        std::lock_guard lock(mutex_);
        ++seen_.frames;
        if (seen_.clears > 0)
            ++seen_.framesAfterClear;
        seen_.width = width;
        seen_.height = height;
        seen_.stride = stride;
        seen_.middleRed = pixels[(height / 2) * stride + (width / 2) * 4];
        for (int offset = 0; offset < stride * height && !seen_.anyLitPixel; offset += 4)
            seen_.anyLitPixel = pixels[offset] | pixels[offset + 1] | pixels[offset + 2];
    }

    void clearFrame() override {
        std::lock_guard lock(mutex_);
        ++seen_.clears;
    }

    Seen seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

  private:
    std::atomic<bool> shows_{true};
    mutable std::mutex mutex_;
    Seen seen_;
};

// Registers a surface for the lifetime of the object.
class RegisteredSurface {
  public:
    explicit RegisteredSurface(std::intptr_t handle) : handle_(handle) {
        registerVideoSurface(handle_, &surface_);
    }
    ~RegisteredSurface() { unregisterVideoSurface(handle_); }
    RegisteredSurface(const RegisteredSurface&) = delete;
    RegisteredSurface& operator=(const RegisteredSurface&) = delete;

    RecordingSurface::Seen seen() const { return surface_.seen(); }
    void setShowsFrames(bool shows) { surface_.setShowsFrames(shows); }

  private:
    std::intptr_t handle_;
    RecordingSurface surface_;
};

}  // namespace tessaro::media::testing
