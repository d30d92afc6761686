// SPDX-License-Identifier: MIT
#pragma once

#include "tools/tessaro-render/progress.h"
#include "tools/tessaro-render/render_options.h"

namespace tessaro::render {

// Exit codes.
inline constexpr int ExitRendered = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitBadArgument = 2;
inline constexpr int ExitAsanaNotFound = 3;

// Renders one asana into options.outPath. Returns the exit code.
int renderAsanaCommand(const RenderOptions& options, Progress& progress);

// Renders every asana of the catalogue into options.courseDir and writes index.html
// there. An asana that fails is reported and listed as not rendered; the others are
// still rendered. Returns the exit code.
int renderCourseCommand(const RenderOptions& options, Progress& progress);

}  // namespace tessaro::render
