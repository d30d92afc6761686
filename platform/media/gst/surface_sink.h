// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <cstdint>

namespace tessaro::media::gst {

// An appsink that keeps real time and takes the decoder's frames as they are. Each frame,
// the prerolled one included, goes to the surface registered under surfaceHandle as RGBx
// pixels, converted on the streaming thread, but only while that surface shows frames:
// a frame nobody sees (no surface, or one that is hidden) is neither converted nor
// copied. Returns a floating reference; throws tessaro::Error 266 when appsink is missing.
GstElement* makeSurfaceSink(std::intptr_t surfaceHandle);

}  // namespace tessaro::media::gst
