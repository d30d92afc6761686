// SPDX-License-Identifier: MIT
#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/media/gst/gst_backend.h"
#include "tools/tessaro-mci/mci_console.h"

namespace {

// What --help prints; the manual page is made from it.
constexpr const char* Help =
    "Usage: tessaro-mci [-c COMMAND]...\n"
    "  or:  tessaro-mci --help | --version\n"
    "Send media commands to the media command service and print its replies.\n"
    "\n"
    "Reads one command per line from standard input, or takes each -c COMMAND in turn,\n"
    "and prints one line per command: OK, OK REPLY or ERROR NUMBER TEXT. \"status\"\n"
    "commands are queries, every other command is executed. \"sleep MS\" waits MS\n"
    "milliseconds, from 0 to 86400000; blank lines and lines starting with # are skipped.\n"
    "Media play through GStreamer, into sinks that keep real time when there is no\n"
    "display or sound card.\n"
    "\n"
    "Options:\n"
    "  -c COMMAND    run COMMAND (repeatable) instead of reading standard input\n"
    "  -h, --help    print this help and exit\n"
    "  --version     print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0   every command succeeded\n"
    "  1   a command failed\n"
    "  2   a bad argument\n";

void sleepRealTime(std::int64_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> commands;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-c") == 0 && i + 1 < argc) {
            commands.emplace_back(argv[++i]);
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::cout << Help;
            return 0;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "tessaro-mci (Tessaro) " TESSARO_TOOLS_VERSION "\n";
            return 0;
        } else {
            const std::string problem = std::strcmp(argv[i], "-c") == 0
                                            ? "-c needs a command"
                                            : "unknown argument '" + std::string(argv[i]) + "'";
            std::cerr << "tessaro-mci: " << problem
                      << "\nTry 'tessaro-mci --help' for more information.\n";
            return 2;
        }
    }

    tessaro::media::Interpreter& service = tessaro::media::processMediaService();
    // Every failure is printed as an ERROR line already; a second report on stderr
    // would only repeat it.
    service.setErrorReporter([](const std::string&) {});
    tessaro::mci::Console console(service, std::cout, sleepRealTime);

    bool succeeded = true;
    if (commands.empty()) {
        succeeded = console.runLines(std::cin);
    } else {
        for (const std::string& command : commands)
            succeeded = console.runLine(command) && succeeded;
    }
    return succeeded ? 0 : 1;
}
