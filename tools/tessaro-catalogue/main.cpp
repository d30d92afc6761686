// SPDX-License-Identifier: MIT
#include <iostream>

#include "tools/tessaro-catalogue/command_registry.h"

namespace tessaro::tools {

std::vector<CatalogueCommand>& catalogueCommands() {
    static std::vector<CatalogueCommand> commands;
    return commands;
}

}  // namespace tessaro::tools

namespace {

using tessaro::tools::catalogueCommands;

void printUsage(std::ostream& out) {
    const char* lead = "Usage: ";
    for (const auto& command : catalogueCommands()) {
        out << lead << "tessaro-catalogue " << command.usage << "\n";
        lead = "  or:  ";
    }
    out << lead << "tessaro-catalogue --help | --version\n";
}

// What --help prints; the manual page is made from it.
void printHelp() {
    printUsage(std::cout);
    std::cout << "Build, dump and query catalogue files (VUDuzu.mdb, Jet databases).\n"
                 "\n"
                 "Commands:\n";
    for (const auto& command : catalogueCommands())
        std::cout << "  " << command.name << std::string(8 - command.name.size(), ' ')
                  << command.summary << "\n";
    std::cout << "\n"
                 "Options:\n"
                 "  --password PWD  the database password to write, or to open the file with\n"
                 "  --help          print this help and exit\n"
                 "  --version       print the version and exit\n"
                 "\n"
                 "Exit status:\n"
                 "  0   done\n"
                 "  1   build: an unreadable or invalid description; dump, query: bad arguments\n"
                 "  2   build: bad arguments; dump, query: the catalogue engine's error, printed\n"
                 "      as \"error NUMBER: TEXT\" (3343 for a damaged file)\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty()) {
        if (args.front() == "--help") {
            printHelp();
            return 0;
        }
        if (args.front() == "--version") {
            std::cout << "tessaro-catalogue (Tessaro) " TESSARO_TOOLS_VERSION "\n";
            return 0;
        }
        for (const auto& command : catalogueCommands()) {
            if (command.name == args.front()) {
                return command.run({args.begin() + 1, args.end()});
            }
        }
        std::cerr << "tessaro-catalogue: unknown command '" << args.front() << "'\n";
    }
    printUsage(std::cerr);
    return 2;
}
