// SPDX-License-Identifier: MIT
#pragma once

namespace tessaro::soak {

// What the process holds at one moment.
struct ProcessFigures {
    int descriptors = 0;
    int threads = 0;
    long residentKiB = 0;
    // GStreamer pipelines alive; -1 when they cannot be counted (GST_TRACERS was set
    // without GStreamer's leaks tracer).
    int pipelines = -1;
};

// Starts GStreamer with its leaks tracer following pipelines, before any exists; a
// GST_TRACERS of the environment is kept as it is.
void followPipelines();

ProcessFigures measureProcess();

}  // namespace tessaro::soak
