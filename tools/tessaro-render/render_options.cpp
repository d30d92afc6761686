// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/render_options.h"

#include <algorithm>
#include <stdexcept>

namespace tessaro::render {
namespace {

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
    throw std::invalid_argument("unknown format \"" + name + "\" (mp4 or webm)");
}

// The container an output file's extension names.
Container containerOf(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        throw std::invalid_argument("the output file must end in .mp4 or .webm: " + path);
    const std::string extension = lowered(path.substr(dot + 1));
    if (extension != "mp4" && extension != "webm")
        throw std::invalid_argument("the output file must end in .mp4 or .webm: " + path);
    return containerNamed(extension);
}

}  // namespace

const char* const renderUsage =
    "usage: tessaro-render --resourcedir DIR --asana NAME OUT.mp4|OUT.webm [--json]\n"
    "       tessaro-render --resourcedir DIR --course OUTDIR [--format mp4|webm] [--json]\n";

RenderOptions parseRenderOptions(const std::vector<std::string>& args) {
    RenderOptions options;
    std::vector<std::string> positional;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(arg + " needs a value");
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
        else if (arg.rfind("--", 0) == 0)
            throw std::invalid_argument("unknown option " + arg);
        else
            positional.push_back(arg);
    }
    if (options.resourceDir.empty())
        throw std::invalid_argument("--resourcedir is required");
    if (options.asana.empty() == options.courseDir.empty())
        throw std::invalid_argument("give either --asana NAME OUT or --course OUTDIR");
    if (!options.asana.empty()) {
        if (positional.size() != 1)
            throw std::invalid_argument("--asana needs one output file, OUT.mp4 or OUT.webm");
        if (formatGiven)
            throw std::invalid_argument("--format is for --course; the output file names it");
        options.outPath = positional.front();
        options.container = containerOf(options.outPath);
    } else if (!positional.empty()) {
        throw std::invalid_argument("unexpected argument " + positional.front());
    }
    return options;
}

}  // namespace tessaro::render
