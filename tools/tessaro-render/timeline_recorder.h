// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>

#include "tools/tessaro-render/media_library.h"
#include "tools/tessaro-render/timeline.h"

namespace tessaro::render {

// A render that cannot go on; what() is the message for the user.
class RenderFailure : public std::runtime_error {
  public:
    enum class Reason { AsanaNotFound, Failed };
    RenderFailure(Reason reason, const std::string& message)
        : std::runtime_error(message), reason_(reason) {}
    Reason reason() const { return reason_; }

  private:
    Reason reason_;
};

// Plays the asana as a host does (Resourcedir, AsanaNaME, fileOpen, then the control's
// own timer ticks) with the control on the virtual clock, over the course's real
// catalogue and with media lengths and frame counts read from the real files, and
// records what it showed and played until VideoEnd. Throws RenderFailure for an asana
// the catalogue lacks ("Asana not found - NAME"), a media or picture file that is
// missing or undecodable, a failing media command, or a playback that stops without
// VideoEnd.
Timeline recordTimeline(const std::string& resourceDir, const std::string& asana,
                        MediaLibrary& library);

}  // namespace tessaro::render
