// SPDX-License-Identifier: MIT
#include "platform/media/command_parser.h"

#include <array>
#include <charconv>
#include <span>
#include <utility>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "platform/media/command_tokens.h"

namespace tessaro::media {
namespace {

using Tokens = std::span<const Token>;

[[noreturn]] void fail(int number, std::string text) {
    throw Error(static_cast<int>(number), std::move(text));
}

Verb verbOf(const std::string& word) {
    static const std::array<std::pair<std::string_view, Verb>, 9> verbs{{
        {"open", Verb::Open},
        {"close", Verb::Close},
        {"play", Verb::Play},
        {"pause", Verb::Pause},
        {"resume", Verb::Resume},
        {"stop", Verb::Stop},
        {"seek", Verb::Seek},
        {"set", Verb::Set},
        {"status", Verb::Status},
    }};
    for (const auto& [name, verb] : verbs) {
        if (word == name)
            return verb;
    }
    fail(errors::UnrecognizedCommand, "unknown command");
}

template <typename Integer>
Integer readInteger(const Token& token) {
    Integer value{};
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    const auto [end, problem] = std::from_chars(first, last, value);
    if (problem != std::errc() || end != last)
        fail(errors::BadInteger, "\"" + token.text + "\" is not a whole number");
    return value;
}

void expectNoMore(Tokens rest) {
    if (!rest.empty())
        fail(errors::UnrecognizedKeyword, "unexpected \"" + rest.front().text + "\"");
}

const Token& valueAfter(Tokens tokens, std::size_t keywordIndex) {
    if (keywordIndex + 1 >= tokens.size())
        fail(errors::MissingParameter, "no value after \"" + tokens[keywordIndex].text + "\"");
    return tokens[keywordIndex + 1];
}

bool isOpenKeyword(const Token& token) {
    if (token.quoted)
        return false;
    const std::string word = keyword(token);
    return word == "alias" || word == "type" || word == "style" || word == "parent" ||
           word == "shareable";
}

bool isKnownDeviceType(const std::string& type) {
    return type == "mpegvideo" || type == "mpegvideo2" || type == "digitalvideo" ||
           type == "avivideo" || type == "waveaudio";
}

bool isKnownStyle(const std::string& style) {
    return style == "child" || style == "popup" || style == "overlapped";
}

// The element runs from the first word after "open" up to the first open keyword, so
// that a path with blanks needs no quotes; a quoted element is taken as it stands.
std::size_t readElement(std::string_view text, Tokens tokens, Command& command) {
    if (tokens.size() < 2 || isOpenKeyword(tokens[1]))
        fail(errors::MissingParameter, "no file named");
    if (tokens[1].quoted) {
        command.open.element = tokens[1].text;
        return 2;
    }
    std::size_t next = 2;
    while (next < tokens.size() && !isOpenKeyword(tokens[next]))
        ++next;
    const std::size_t end = tokens[next - 1].end;
    command.open.element = std::string(text.substr(tokens[1].begin, end - tokens[1].begin));
    return next;
}

void readOpenOptions(Tokens tokens, std::size_t index, Command& command) {
    OpenOptions& open = command.open;
    while (index < tokens.size()) {
        const std::string word = keyword(tokens[index]);
        if (word == "shareable") {
            ++index;
            continue;
        }
        if (word != "alias" && word != "type" && word != "style" && word != "parent")
            fail(errors::UnrecognizedKeyword, "unexpected \"" + tokens[index].text + "\"");
        const Token& value = valueAfter(tokens, index);
        if (word == "alias") {
            open.alias = value.text;
            command.device = value.text;
        } else if (word == "type") {
            open.type = keyword(value);
            if (!isKnownDeviceType(open.type))
                fail(errors::CannotLoadDriver, "no player for type \"" + value.text + "\"");
        } else if (word == "style") {
            if (!isKnownStyle(keyword(value)))
                fail(errors::UnrecognizedKeyword, "unknown style \"" + value.text + "\"");
        } else {
            open.parentWindow = readInteger<std::intptr_t>(value);
        }
        index += 2;
    }
}

void parseOpen(std::string_view text, Tokens tokens, Command& command) {
    const std::size_t optionsStart = readElement(text, tokens, command);
    command.device = command.open.element;
    readOpenOptions(tokens, optionsStart, command);
}

void parseSeek(Tokens rest, Command& command) {
    if (rest.empty())
        fail(errors::MissingParameter, "no \"to\"");
    if (keyword(rest[0]) != "to")
        fail(errors::UnrecognizedKeyword, "unexpected \"" + rest[0].text + "\"");
    if (rest.size() < 2)
        fail(errors::MissingParameter, "no position after \"to\"");
    const std::string target = keyword(rest[1]);
    if (target == "start") {
        command.seekTarget = SeekTarget::Start;
    } else if (target == "end") {
        command.seekTarget = SeekTarget::End;
    } else {
        command.seekTarget = SeekTarget::Position;
        command.seekPosition = readInteger<long long>(rest[1]);
        if (command.seekPosition < 0)
            fail(errors::OutOfRange, "position before the start");
    }
    expectNoMore(rest.subspan(2));
}

void parseSet(Tokens rest, Command& command) {
    if (rest.empty())
        fail(errors::MissingParameter, "nothing to set");
    if (rest.size() < 2 || keyword(rest[0]) != "time" || keyword(rest[1]) != "format")
        fail(errors::UnsupportedFunction, "cannot set \"" + rest[0].text + "\"");
    if (rest.size() < 3)
        fail(errors::MissingParameter, "no time format");
    const std::string format = keyword(rest[2]);
    if (format == "frames") {
        command.timeFormat = TimeFormat::Frames;
    } else if (format == "milliseconds" || format == "ms") {
        command.timeFormat = TimeFormat::Milliseconds;
    } else {
        fail(errors::BadTimeFormat, "unknown time format \"" + rest[2].text + "\"");
    }
    expectNoMore(rest.subspan(3));
}

void parseStatus(Tokens rest, Command& command) {
    if (rest.empty())
        fail(errors::MissingParameter, "no status item");
    std::string item;
    for (const Token& token : rest)
        item += (item.empty() ? "" : " ") + keyword(token);
    static const std::array<std::pair<std::string_view, StatusItem>, 6> items{{
        {"mode", StatusItem::Mode},
        {"position", StatusItem::Position},
        {"length", StatusItem::Length},
        {"time format", StatusItem::TimeFormat},
        {"ready", StatusItem::Ready},
        {"frame rate", StatusItem::FrameRate},
    }};
    for (const auto& [name, value] : items) {
        if (item == name) {
            command.statusItem = value;
            return;
        }
    }
    fail(errors::UnsupportedFunction, "unknown status item \"" + item + "\"");
}

void parseDeviceCommand(Tokens tokens, Command& command) {
    if (tokens.size() < 2)
        fail(errors::MissingParameter, "no device named");
    const Tokens rest = tokens.subspan(2);
    switch (command.verb) {
        case Verb::Close:
            command.allDevices = !tokens[1].quoted && keyword(tokens[1]) == "all";
            expectNoMore(rest);
            break;
        case Verb::Seek:
            parseSeek(rest, command);
            break;
        case Verb::Set:
            parseSet(rest, command);
            break;
        case Verb::Status:
            parseStatus(rest, command);
            break;
        default:
            expectNoMore(rest);
            break;
    }
}

}  // namespace

void parseCommand(std::string_view text, Command& command) {
    const std::vector<Token> tokens = tokenize(text);
    if (tokens.empty())
        fail(errors::UnrecognizedCommand, "empty command");
    command.verbWord = keyword(tokens[0]);
    if (tokens.size() > 1)
        command.device = tokens[1].text;
    command.verb = verbOf(command.verbWord);
    if (command.verb == Verb::Open)
        parseOpen(text, tokens, command);
    else
        parseDeviceCommand(tokens, command);
}

}  // namespace tessaro::media
