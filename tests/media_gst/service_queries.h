// SPDX-License-Identifier: MIT
#pragma once

#include <cstring>
#include <string>

#include <tessaro/command_service.h>

#include "platform/media/reply_reading.h"

namespace tessaro::media::testing {

// Queries read back as the control reads them: a 50-blank area, reply length 49.
inline std::string modeOf(CommandService& service, const std::string& device) {
    char area[50];
    std::memset(area, ' ', sizeof area);
    service.sendString("status " + device + " mode", area, 49, 0);
    return readModeReply(area, sizeof area);
}

inline double positionOf(CommandService& service, const std::string& device) {
    char area[50];
    std::memset(area, ' ', sizeof area);
    service.sendString("status " + device + " Position", area, 49, 0);
    return readPositionReply(area, sizeof area);
}

}  // namespace tessaro::media::testing
