// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

namespace tessaro::media {

// Reading a reply as the control reads it. The area is trimmed of blanks at both ends
// and its last character (the terminator) dropped.
// Mode: then cut before the first NUL and upper-cased ("STOPPED", "PLAYING", "").
std::string readModeReply(const char* replyArea, std::size_t areaSize);
// Position: the leading number of the trimmed text; 0 when it starts with none.
double readPositionReply(const char* replyArea, std::size_t areaSize);

}  // namespace tessaro::media
