// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "tools/tessaro-render/media_writer.h"

namespace tessaro::render {

struct RenderOptions {
    // --help or --version: print that and render nothing.
    bool help = false;
    bool version = false;
    std::string resourceDir;
    // One asana into outPath, or the whole course into courseDir.
    std::string asana;
    std::string outPath;
    std::string courseDir;
    Container container = Container::Mp4;
    bool json = false;
};

// Parses the command line (without the program name). Throws tessaro::Error with a
// message for the user on a bad argument: 259 for an unknown option or a word out of its
// place, 273 for a missing option or value, 282 for a format it does not write.
RenderOptions parseRenderOptions(const std::vector<std::string>& args);

// What --help prints; the manual page is made from it.
extern const char* const RenderHelp;

}  // namespace tessaro::render
