// SPDX-License-Identifier: MIT
#include "platform/media/video_surface.h"

#include <map>
#include <mutex>

namespace tessaro::media {
namespace {

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::intptr_t, VideoSurface*>& registry() {
    static std::map<std::intptr_t, VideoSurface*> surfaces;
    return surfaces;
}

}  // namespace

void registerVideoSurface(std::intptr_t windowHandle, VideoSurface* surface) {
    std::lock_guard lock(registryMutex());
    registry()[windowHandle] = surface;
}

void unregisterVideoSurface(std::intptr_t windowHandle) {
    std::lock_guard lock(registryMutex());
    registry().erase(windowHandle);
}

void withVideoSurface(std::intptr_t windowHandle, const std::function<void(VideoSurface&)>& fn) {
    std::lock_guard lock(registryMutex());
    const auto found = registry().find(windowHandle);
    if (found != registry().end())
        fn(*found->second);
}

}  // namespace tessaro::media
