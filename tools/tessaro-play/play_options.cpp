// SPDX-License-Identifier: MIT
#include "tools/tessaro-play/play_options.h"

#include <charconv>
#include <stdexcept>

namespace tessaro::play {

const char* const PlayHelp =
    "Usage: tessaro-play --resourcedir DIR --asana NAME [OPTION]...\n"
    "  or:  tessaro-play --resourcedir DIR --list [--json]\n"
    "  or:  tessaro-play --help | --version\n"
    "Play one asana of a course with the KavoVideoSync control and print its events.\n"
    "\n"
    "Hosts the control (offscreen, or in a window with --window), sets its properties,\n"
    "looks the asana up and plays it (or previews it) until VideoEnd, printing each\n"
    "event (CurAudioNos, VideoEnd) with its time since the start.\n"
    "\n"
    "Options:\n"
    "  --resourcedir DIR    the course folder (hotspots/VUDuzu.mdb, video/, sound/mp2/)\n"
    "  --asana NAME         the asana to play, as the catalogue names it\n"
    "  --preview            preview a video asana: the video without narration\n"
    "  --picture-preview    preview a picture asana: its pictures without narration\n"
    "  --list               list the asanas of the course with their kind and clip count\n"
    "  --window             show the control in a window (needs a display)\n"
    "  --json               print one JSON object per line and nothing else on stdout\n"
    "  --timeout SECONDS    give up when no VideoEnd came within SECONDS, a number from\n"
    "                       0.001 to 86400 (default: 60 plus 30 per clip of the asana,\n"
    "                       for each time it is played)\n"
    "  --times N            play the asana N times over in the same host, a whole\n"
    "                       number from 1 to 1000 (default: 1)\n"
    "  --help               print this help and exit\n"
    "  --version            print the version of the control library and exit\n"
    "\n"
    "Exit status:\n"
    "  0   VideoEnd came (or the list, help or version was printed)\n"
    "  1   no VideoEnd within the timeout\n"
    "  2   a bad argument, or an error of the control\n"
    "  3   the asana is not in the catalogue (\"Asana not found - NAME\" on stderr)\n"
    "\n"
    "Environment:\n"
    "  TESSARO_TRACE=1      trace every media command and every video frame shown on\n"
    "                       stderr, with a millisecond stamp\n"
    "  TESSARO_MODULE_DIR   the folder --picture-preview reads the catalogue below\n"
    "                       (default: the course folder)\n";

namespace {

// Out of range, infinite and not-a-number are refused alike: NaN fails both comparisons.
double parseTimeout(const std::string& text) {
    double seconds = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    const bool whole = problem == std::errc() && end == text.data() + text.size();
    if (!whole || !(seconds >= MinTimeoutSeconds && seconds <= MaxTimeoutSeconds)) {
        throw std::invalid_argument(
            "--timeout takes a number of seconds from 0.001 to 86400, not '" + text + "'");
    }
    return seconds;
}

int parseTimes(const std::string& text) {
    int times = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), times);
    const bool whole = problem == std::errc() && end == text.data() + text.size();
    if (!whole || times < 1 || times > MaxTimes)
        throw std::invalid_argument("--times takes a whole number from 1 to 1000, not '" + text +
                                    "'");
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
        } else if (arg == "--help") {
            setMode(options, PlayMode::Help, arg);
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
    if (options.mode == PlayMode::Help || options.mode == PlayMode::Version)
        return options;
    if (!haveResourceDir)
        throw std::invalid_argument("--resourcedir is required");
    if (!haveAsana && options.mode != PlayMode::List) {
        throw std::invalid_argument("--asana is required");
    }
    return options;
}

}  // namespace tessaro::play
