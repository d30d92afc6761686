// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <tessaro/catalogue.h>
#include "tools/tessaro-render/media_library.h"
#include "tools/tessaro-render/timeline.h"

namespace tessaro::render {

// The number of the failure to find the asana: the lookup's own "no current record".
inline constexpr int AsanaNotFound = catalogue::errors::NoCurrentRecord;

// Plays the asana as a host does (Resourcedir, AsanaNaME, fileOpen, then the control's
// own timer ticks) with the control on the virtual clock, over the course's real
// catalogue and with media lengths and frame counts read from the real files, and
// records what it showed and played until VideoEnd. Throws tessaro::Error:
// AsanaNotFound with the control's "Asana not found - NAME" for an asana the catalogue
// lacks; the media library's error for a media or picture file that is missing or
// undecodable; the command's number for a failing media command; 277 for any other
// message the control shows, or a playback that stops without VideoEnd.
Timeline recordTimeline(const std::string& resourceDir, const std::string& asana,
                        MediaLibrary& library);

}  // namespace tessaro::render
