// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <memory>
#include <string>

namespace tessaro::render {

// Initialises GStreamer once per process.
void initGstreamer();

// Owns a pipeline; taking it down to NULL stops its streaming threads before the unref.
struct PipelineRelease {
    void operator()(GstElement* pipeline) const;
};
using Pipeline = std::unique_ptr<GstElement, PipelineRelease>;

// Builds a pipeline from a gst-launch description. Throws tessaro::Error when an element
// is missing from the machine.
Pipeline launchPipeline(const std::string& description);

// The element of that name inside the pipeline (no reference taken; the pipeline owns it).
GstElement* pipelineElement(GstElement* pipeline, const char* name);

// Sets the pipeline's state and waits for it; throws tessaro::Error with the pipeline's
// own error message when it fails (a missing file, a file it cannot write).
void changeState(GstElement* pipeline, GstState state);

// Throws tessaro::Error with the first error message on the pipeline's bus, if any.
void throwPendingError(GstElement* pipeline);

}  // namespace tessaro::render
