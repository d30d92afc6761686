// SPDX-License-Identifier: MIT
#include <memory>

#include "platform/media/gst/gst_backend.h"
#include "platform/media/video_surface.h"

namespace tessaro::media {

Interpreter& processMediaService() {
    static const std::unique_ptr<Interpreter> service = [] {
        // The surface registry is built first so that it is destroyed last: the service's
        // devices clear their surfaces as they close at the end of the process.
        withVideoSurface(0, [](VideoSurface&) {});
        return std::make_unique<Interpreter>(makeGstBackend(true));
    }();
    return *service;
}

}  // namespace tessaro::media
