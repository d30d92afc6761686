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

constexpr const char* Usage =
    "usage: tessaro-mci [-c COMMAND]...\n"
    "Sends media commands, one per line from standard input or each -c COMMAND, and\n"
    "prints one line per command: OK, OK REPLY or ERROR NUMBER TEXT. \"sleep MS\" waits;\n"
    "blank lines and lines starting with # are skipped. Exits 1 when a command failed.\n";

void sleepRealTime(std::int64_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> commands;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-c") == 0 && i + 1 < argc) {
            commands.emplace_back(argv[++i]);
        } else {
            std::cerr << Usage;
            return std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
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
