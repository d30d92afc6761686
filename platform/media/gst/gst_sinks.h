// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <cstdint>

namespace tessaro::media::gst {

// The sink a device's video goes to: by default the surface sink (surface_sink.h),
// which hands the surface registered under surfaceHandle the frames it shows, as RGBx;
// TESSARO_VIDEO_SINK names another element description. Either keeps real time. Returns
// a floating reference; throws tessaro::Error 266 when the override cannot be built.
GstElement* makeVideoSink(std::intptr_t surfaceHandle);

// The sink a device's audio goes to: TESSARO_AUDIO_SINK when set, else the system's
// audio output when the machine has one, else a fake sink that keeps real time. Returns
// a floating reference; throws tessaro::Error 266 when the override cannot be built.
GstElement* makeAudioSink();

}  // namespace tessaro::media::gst
