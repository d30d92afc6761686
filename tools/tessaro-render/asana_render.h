// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "tools/tessaro-render/media_library.h"
#include "tools/tessaro-render/media_writer.h"
#include "tools/tessaro-render/timeline.h"

namespace tessaro::render {

// Told the fraction (0 to 1) of the current render done.
using ProgressReport = std::function<void(double fraction)>;

// Renders a recorded timeline into outPath: the frames the control showed at each
// instant (a held frame repeated, the last frame kept after the video's end, the
// pictures of a picture asana at the picture box's size), the narrations where the
// control started them, from the playback start to VideoEnd. Beside it, outPath with
// ".vtt" for its extension holds the clips as WebVTT chapters. Neither file appears
// unless the render completes. Throws tessaro::Error.
void renderTimeline(const Timeline& timeline, MediaLibrary& library, const std::string& outPath,
                    Container container, const ProgressReport& progress);

// The path of the chapters file that goes with a rendered file.
std::string chaptersPath(const std::string& outPath);

// The clips as WebVTT chapters, each named "clip k of N" from its start to the next.
std::string webVttChapters(const Timeline& timeline);

}  // namespace tessaro::render
