// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/render_options.h"

#include <algorithm>

#include <tessaro/command_service.h>
#include <tessaro/error.h>

namespace tessaro::render {
namespace {

// A command line is read as the service reads a command: the same numbers for an unknown
// word, a missing value and a value it does not take.
[[noreturn]] void unrecognized(const std::string& text) {
    throw Error(media::errors::UnrecognizedKeyword, text);
}

[[noreturn]] void missing(const std::string& text) {
    throw Error(media::errors::MissingParameter, text);
}

[[noreturn]] void outOfRange(const std::string& text) {
    throw Error(media::errors::OutOfRange, text);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

Container containerNamed(const std::string& name) {
    if (name == "mp4")
        return Container::Mp4;
    if (name == "webm")
        return Container::WebM;
    outOfRange("unknown format \"" + name + "\" (mp4 or webm)");
}

// The container an output file's extension names.
Container containerOf(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        outOfRange("the output file must end in .mp4 or .webm: " + path);
    const std::string extension = lowered(path.substr(dot + 1));
    if (extension != "mp4" && extension != "webm")
        outOfRange("the output file must end in .mp4 or .webm: " + path);
    return containerNamed(extension);
}

}  // namespace

const char* const RenderHelp =
    "Usage: tessaro-render --resourcedir DIR --asana NAME OUT.mp4|OUT.webm [--json]\n"
    "  or:  tessaro-render --resourcedir DIR --course OUTDIR [--format mp4|webm] [--json]\n"
    "  or:  tessaro-render --help | --version\n"
    "Render an asana, or a whole course with an HTML index, into MP4 or WebM files.\n"
    "\n"
    "Plays the asana with the KavoVideoSync control on a virtual clock, as a host drives\n"
    "it, records what the control shows and plays until VideoEnd, and renders that\n"
    "timeline with GStreamer: MP4 holds H.264 and AAC, WebM holds VP9 and Opus with a\n"
    "chapter per narration clip. Beside each file, OUT.vtt gives the same chapters as\n"
    "WebVTT. A file appears only once its render is complete.\n"
    "\n"
    "Options:\n"
    "  --resourcedir DIR    the course folder (hotspots/VUDuzu.mdb, video/, sound/mp2/)\n"
    "  --asana NAME         render this asana into OUT.mp4 or OUT.webm\n"
    "  --course OUTDIR      render every asana into OUTDIR (01-NAME.mp4, ...) and write\n"
    "                       OUTDIR/index.html, which plays them with their clip lists\n"
    "  --format mp4|webm    the files of --course (default: mp4)\n"
    "  --json               print progress and results as one JSON object per line\n"
    "  --help               print this help and exit\n"
    "  --version            print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0   everything was rendered\n"
    "  1   a missing or undecodable media file, an unreadable catalogue, an unwritable\n"
    "      output or a playback that never reaches VideoEnd\n"
    "  2   a bad argument\n"
    "  3   the asana is not in the catalogue (\"Asana not found - NAME\")\n";

RenderOptions parseRenderOptions(const std::vector<std::string>& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                missing(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--resourcedir")
            options.resourceDir = value();
        else if (arg == "--asana")
            options.asana = value();
        else if (arg == "--course")
            options.courseDir = value();
        else if (arg == "--format") {
            options.container = containerNamed(value());
            formatGiven = true;
        } else if (arg == "--json")
            options.json = true;
        else if (arg == "--help")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (arg.rfind("--", 0) == 0)
            unrecognized("unknown option " + arg);
        else
            positional.push_back(arg);
    }
    if (options.help || options.version)
        return options;
    if (options.resourceDir.empty())
        missing("--resourcedir is required");
    if (options.asana.empty() && options.courseDir.empty())
        missing("give either --asana NAME OUT or --course OUTDIR");
    if (!options.asana.empty() && !options.courseDir.empty())
        unrecognized("give either --asana NAME OUT or --course OUTDIR");
    if (!options.asana.empty()) {
        if (positional.size() != 1)
            missing("--asana needs one output file, OUT.mp4 or OUT.webm");
        if (formatGiven)
            unrecognized("--format is for --course; the output file names it");
        options.outPath = positional.front();
        options.container = containerOf(options.outPath);
    } else if (!positional.empty()) {
        unrecognized("unexpected argument " + positional.front());
    }
    return options;
}

}  // namespace tessaro::render
