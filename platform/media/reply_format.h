// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/media/player_backend.h"

namespace tessaro::media {

// "stopped", "playing" or "paused".
std::string_view modeReply(PlayerMode mode);
std::string numberReply(long long number);

// Writes reply into the caller's area as a C string cut to replyLength - 1 characters.
// Writes nothing into a missing or empty area.
void writeReply(std::string_view reply, char* replyArea, unsigned replyLength);

}  // namespace tessaro::media
