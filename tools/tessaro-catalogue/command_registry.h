// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tessaro::tools {

// One subcommand of tessaro-catalogue: receives the arguments after its name and
// returns the process's exit code.
struct CatalogueCommand {
    std::string name;
    std::string usage;
    // One line for the tool's --help and manual page.
    std::string summary;
    std::function<int(const std::vector<std::string>& args)> run;
};

// Each subcommand's file registers itself with a static CommandRegistration, so the
// tool's main knows no command by name.
std::vector<CatalogueCommand>& catalogueCommands();

struct CommandRegistration {
    explicit CommandRegistration(CatalogueCommand command) {
        catalogueCommands().push_back(std::move(command));
    }
};

}  // namespace tessaro::tools
