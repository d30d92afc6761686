// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaro::tools {

// A subcommand's arguments: its positional ones and the value of --password ("" without).
struct CommandArguments {
    std::vector<std::string> positional;
    std::string password;
};

// Empty when another option appears, --password lacks its value, or the number of
// positional arguments is not `count`.
inline std::optional<CommandArguments> parseCommandArguments(const std::vector<std::string>& args,
                                                             std::size_t count) {
    CommandArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password" && i + 1 < args.size()) {
            parsed.password = args[++i];
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else {
            parsed.positional.push_back(args[i]);
        }
    }
    if (parsed.positional.size() != count)
        return std::nullopt;
    return parsed;
}

}  // namespace tessaro::tools
