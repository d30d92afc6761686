// SPDX-License-Identifier: MIT
#include <iostream>

#include "tools/tessaro-catalogue/command_registry.h"

namespace tessaro::tools {

std::vector<CatalogueCommand>& catalogueCommands() {
    static std::vector<CatalogueCommand> commands;
    return commands;
}

}  // namespace tessaro::tools

int main(int argc, char** argv) {
    using tessaro::tools::catalogueCommands;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty()) {
        for (const auto& command : catalogueCommands()) {
            if (command.name == args.front()) {
                return command.run({args.begin() + 1, args.end()});
            }
        }
        std::cerr << "tessaro-catalogue: unknown command '" << args.front() << "'\n";
    }
    std::cerr << "usage:\n";
    for (const auto& command : catalogueCommands()) {
        std::cerr << "  tessaro-catalogue " << command.usage << "\n";
    }
    return 2;
}
