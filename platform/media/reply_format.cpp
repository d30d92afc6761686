// SPDX-License-Identifier: MIT
#include "platform/media/reply_format.h"

#include <algorithm>
#include <cstring>

namespace tessaro::media {

std::string_view modeReply(PlayerMode mode) {
    switch (mode) {
        case PlayerMode::Playing:
            return "playing";
        case PlayerMode::Paused:
            return "paused";
        case PlayerMode::Stopped:
            break;
    }
    return "stopped";
}

std::string numberReply(long long number) {
    return std::to_string(number);
}

void writeReply(std::string_view reply, char* replyArea, unsigned replyLength) {
    if (!replyArea || replyLength == 0)
        return;
    const std::size_t length = std::min<std::size_t>(reply.size(), replyLength - 1);
    std::memcpy(replyArea, reply.data(), length);
    replyArea[length] = '\0';
}

}  // namespace tessaro::media
