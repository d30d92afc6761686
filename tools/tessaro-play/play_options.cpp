// SPDX-License-Identifier: MIT
#include "tools/tessaro-play/play_options.h"

#include <stdexcept>

namespace tessaro::play {

const char* const playUsage =
    "usage: tessaro-play --resourcedir DIR --asana NAME [--preview | --picture-preview]\n"
    "                    [--window] [--json] [--timeout SECONDS] [--times N]\n"
    "       tessaro-play --resourcedir DIR --list [--json]\n"
    "       tessaro-play --version\n";

namespace {

double parseTimeout(const std::string& text) {
    std::size_t used = 0;
    double seconds = 0;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || !(seconds > 0)) {
        throw std::invalid_argument("--timeout takes a positive number of seconds, not '" + text +
                                    "'");
    }
    return seconds;
}

int parseTimes(const std::string& text) {
    std::size_t used = 0;
    int times = 0;
    try {
        times = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || times < 1)
        throw std::invalid_argument("--times takes a whole number from 1, not '" + text + "'");
    return times;
}

void setMode(PlayOptions& options, PlayMode mode, const std::string& flag) {
    if (options.mode != PlayMode::Lookup) {
        throw std::invalid_argument(flag + " cannot be combined with another mode");
    }
    options.mode = mode;
}

}  // namespace

PlayOptions parsePlayOptions(const std::vector<std::string>& args) {
    PlayOptions options;
    bool haveResourceDir = false;
    bool haveAsana = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--resourcedir") {
            options.resourceDir = value();
            haveResourceDir = true;
        } else if (arg == "--asana") {
            options.asana = value();
            haveAsana = true;
        } else if (arg == "--preview") {
            setMode(options, PlayMode::Preview, arg);
        } else if (arg == "--picture-preview") {
            setMode(options, PlayMode::PicturePreview, arg);
        } else if (arg == "--list") {
            setMode(options, PlayMode::List, arg);
        } else if (arg == "--version") {
            setMode(options, PlayMode::Version, arg);
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--timeout") {
            options.timeoutSeconds = parseTimeout(value());
        } else if (arg == "--times") {
            options.times = parseTimes(value());
        } else {
            throw std::invalid_argument("unknown argument '" + arg + "'");
        }
    }
    if (options.mode == PlayMode::Version)
        return options;
    if (!haveResourceDir)
        throw std::invalid_argument("--resourcedir is required");
    if (!haveAsana && options.mode != PlayMode::List) {
        throw std::invalid_argument("--asana is required");
    }
    return options;
}

}  // namespace tessaro::play
