// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/media/time_format.h"

namespace tessaro::media {

enum class Verb { Open, Close, Play, Pause, Resume, Stop, Seek, Set, Status };

enum class StatusItem { Mode, Position, Length, TimeFormat, Ready, FrameRate };

enum class SeekTarget { Start, End, Position };

struct OpenOptions {
    std::string element;
    std::string alias;
    std::string type;
    std::intptr_t parentWindow = 0;
};

// One command as read from its text. Only the fields of its verb are meaningful.
struct Command {
    // The verb as written, folded to small letters, and the device name as written:
    // they name the command in error texts and reports.
    std::string verbWord;
    std::string device;
    Verb verb = Verb::Open;
    bool allDevices = false;
    OpenOptions open;
    SeekTarget seekTarget = SeekTarget::Start;
    long long seekPosition = 0;
    TimeFormat timeFormat = TimeFormat::Milliseconds;
    StatusItem statusItem = StatusItem::Mode;
};

// Reads a command; keywords are case-blind. Fills `command` as it goes, so that on a
// malformed command, when it throws tessaro::Error with the service's number, the verb
// and device it had read are there to name the failure.
void parseCommand(std::string_view text, Command& command);

}  // namespace tessaro::media
