// SPDX-License-Identifier: MIT
#include "sim/recording_command_service.h"

namespace tessaro::sim {

bool RecordingCommandService::execute(std::string_view command) {
    entries_.push_back({std::string(command), false});
    return inner_.execute(command);
}

int RecordingCommandService::sendString(std::string_view command, char* replyArea,
                                        unsigned replyLength, std::intptr_t callbackWindow) {
    entries_.push_back({std::string(command), true});
    std::string areaBefore = replyArea ? std::string(replyArea, replyLength) : std::string();
    queries_.push_back({std::string(command), std::move(areaBefore), replyLength, callbackWindow});
    return inner_.sendString(command, replyArea, replyLength, callbackWindow);
}

std::vector<std::string> RecordingCommandService::executed() const {
    std::vector<std::string> texts;
    for (const Entry& e : entries_)
        if (!e.query)
            texts.push_back(e.text);
    return texts;
}

std::vector<std::string> RecordingCommandService::all() const {
    std::vector<std::string> texts;
    for (const Entry& e : entries_)
        texts.push_back(e.text);
    return texts;
}

}  // namespace tessaro::sim
