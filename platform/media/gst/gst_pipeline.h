// SPDX-License-Identifier: MIT
#pragma once

#include <gst/gst.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <tessaro/error.h>

namespace tessaro::media::gst {

// Owns a pipeline: taking it down to NULL stops its streaming threads before the unref.
struct PipelineRelease {
    void operator()(GstElement* pipeline) const;
};
using Pipeline = std::unique_ptr<GstElement, PipelineRelease>;

// Initialises GStreamer once per process, for a program that builds pipelines of its own.
void initGstreamer();

// Builds a pipeline from a gst-launch description, GStreamer initialised first. Throws
// tessaro::Error 266 when an element it names is not installed, 277 when it cannot be
// built otherwise; the text quotes the description.
Pipeline launchPipeline(const std::string& description);

// The element of that name inside the pipeline, nullptr when there is none. No reference
// is taken: the pipeline owns it.
GstElement* pipelineElement(GstElement* pipeline, const char* name);

// The first error message waiting on the pipeline's bus, taken off it and made the
// service's error by errorFromMessage with lead; nothing when none waits.
std::optional<Error> pendingError(GstElement* pipeline, const std::string& lead);

// Sets the pipeline's state and waits, unbounded, until it is reached. When it fails,
// throws the pending error made with lead, or tessaro::Error 296 saying that the pipeline
// failed to start when none waits.
void changeState(GstElement* pipeline, GstState state, const std::string& lead);

// The service's error for a pipeline's error message: 275 when the file is missing or
// cannot be opened for reading, 296 for anything else. Its text is lead, a colon and
// GStreamer's own text. The message stays the caller's.
Error errorFromMessage(GstMessage* error, const std::string& lead);

// Makes an element of the factory, as a floating reference; throws tessaro::Error 266
// when the factory is not installed.
GstElement* makeElement(const char* factory);

// Waits, bounded, until the first frame and sample sit in the sinks, so that a file that
// cannot be decoded fails here rather than once playing. Throws tessaro::Error with the
// service's number naming path: 275 when it cannot be read, 296 when it cannot be
// decoded. Bus messages that come before the end of the preroll go to other, if given.
void preroll(GstElement* pipeline, const std::string& path,
             const std::function<void(GstMessage*)>& other = {});

// Bits per second a tag list gives (nominal rate first), 0 when it names none.
unsigned bitRateOf(const GstTagList* tags);

// The media's duration as the pipeline knows it, kept in knownMs once it does (a caller
// sets knownMs to 0 as the duration changes). MPEG audio without a container learns its
// duration only after a good part has been parsed in play; until then the file size at
// the stream's bit rate stands for it. 0 when nothing tells.
double durationMs(GstElement* pipeline, double& knownMs, unsigned bitRate);

}  // namespace tessaro::media::gst
