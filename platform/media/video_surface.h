// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

namespace tessaro::media {

// Where a video device draws: a window of the host (the picture box of the control)
// registers itself under its window handle, and "open ... parent H" draws into the
// surface registered under H. A handle without a surface gives no visible output.
class VideoSurface {
  public:
    virtual ~VideoSurface() = default;

    // Whether the frames handed here are seen now; asked on a streaming thread before each
    // frame. A sink converts and hands over only the frames of a surface that shows them,
    // so a surface that is shown again draws the next frame that comes. A surface without
    // a window of its own (a recorder) shows them all.
    virtual bool showsFrames() const { return true; }
    // One decoded frame, 32-bit pixels in memory order R, G, B, X, rows of `stride`
    // bytes. Called from a streaming thread: the surface copies what it keeps and
    // returns quickly.
    virtual void presentFrame(const std::uint8_t* pixels, int width, int height, int stride) = 0;
    // The device drawing here was closed: the surface goes back to its own content.
    virtual void clearFrame() = 0;
};

// Registry of surfaces by window handle, safe to use from any thread. A surface
// unregisters itself before it is destroyed.
void registerVideoSurface(std::intptr_t windowHandle, VideoSurface* surface);
void unregisterVideoSurface(std::intptr_t windowHandle);
// Calls fn with the surface registered under the handle, under the registry's lock, so
// the surface cannot go away meanwhile; does nothing when none is registered.
void withVideoSurface(std::intptr_t windowHandle, const std::function<void(VideoSurface&)>& fn);

}  // namespace tessaro::media
