// SPDX-License-Identifier: MIT
#include "tools/tessaro-mci/mci_console.h"

#include <charconv>
#include <string>

#include <tessaro/command_service.h>
#include "platform/paths/paths.h"

namespace tessaro::mci {
namespace {

constexpr std::string_view Blanks = " \t\r";

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// The first word of a line, folded, and what follows it.
std::pair<std::string, std::string_view> splitFirstWord(std::string_view line) {
    const std::size_t end = std::min(line.find_first_of(Blanks), line.size());
    return {paths::foldCase(line.substr(0, end)), trimmed(line.substr(end))};
}

}  // namespace

Console::Console(media::Interpreter& service, std::ostream& out, Sleep sleep)
    : service_(service), out_(out), sleep_(std::move(sleep)) {}

bool Console::runLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() == '#')
        return true;
    const auto [word, rest] = splitFirstWord(line);
    if (word == "sleep")
        return runSleep(rest);
    return runCommand(line);
}

bool Console::runLines(std::istream& in) {
    bool allSucceeded = true;
    std::string line;
    while (std::getline(in, line))
        allSucceeded = runLine(line) && allSucceeded;
    return allSucceeded;
}

bool Console::runCommand(std::string_view command) {
    if (splitFirstWord(command).first == "status") {
        char reply[256] = {};
        const int number = service_.sendString(command, reply, sizeof reply, 0);
        if (number != 0)
            return printFailure(number, service_.lastOutcome().text);
        out_ << (reply[0] ? "OK " + std::string(reply) : "OK") << std::endl;
        return true;
    }
    if (!service_.execute(command)) {
        const media::Interpreter::Outcome outcome = service_.lastOutcome();
        return printFailure(outcome.number, outcome.text);
    }
    out_ << "OK" << std::endl;
    return true;
}

bool Console::runSleep(std::string_view argument) {
    if (argument.empty())
        return printFailure(media::errors::MissingParameter, "sleep: no milliseconds");
    std::int64_t ms = 0;
    const auto [end, problem] =
        std::from_chars(argument.data(), argument.data() + argument.size(), ms);
    if (problem != std::errc() || end != argument.data() + argument.size() || ms < 0 ||
        ms > MaxSleepMs)
        return printFailure(media::errors::BadInteger, "sleep: \"" + std::string(argument) +
                                                           "\" is not milliseconds from 0 to " +
                                                           std::to_string(MaxSleepMs));
    sleep_(ms);
    return true;
}

bool Console::printFailure(int number, std::string_view text) {
    out_ << "ERROR " << number << " " << text << std::endl;
    return false;
}

}  // namespace tessaro::mci
