// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include <tessaro/error.h>
#include "tools/tessaro-render/output_file.h"
#include "tools/tessaro-render/render_commands.h"

int main(int argc, char** argv) {
    using namespace tessaro::render;
    RenderOptions options;
    try {
        options = parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const tessaro::Error& error) {
        std::cerr << "tessaro-render: " << error.text() << "\n"
                  << "Try 'tessaro-render --help' for more information.\n";
        return ExitBadArgument;
    }
    if (options.help) {
        std::cout << RenderHelp;
        return ExitRendered;
    }
    if (options.version) {
        std::cout << "tessaro-render (Tessaro) " TESSARO_TOOLS_VERSION "\n";
        return ExitRendered;
    }
    removeOutputFilesOnInterrupt();
    Progress progress(options.json, ::isatty(STDOUT_FILENO) != 0);
    if (options.courseDir.empty())
        return renderAsanaCommand(options, progress);
    return renderCourseCommand(options, progress);
}
