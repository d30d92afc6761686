// SPDX-License-Identifier: MIT
#include <fstream>
#include <iostream>

#include <nlohmann/json.hpp>

#include "platform/catalogue/writer/catalogue_description_json.h"
#include "tools/tessaro-catalogue/command_arguments.h"
#include "tools/tessaro-catalogue/command_registry.h"

namespace tessaro::tools {
namespace {

constexpr int BadInput = 1;
constexpr int BadUsage = 2;

nlohmann::json readJson(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw Error(catalogue::errors::InvalidCatalogueDescription, "cannot read \"" + path + "\"");
    }
    try {
        return nlohmann::json::parse(in);
    } catch (const nlohmann::json::parse_error& error) {
        throw Error(catalogue::errors::InvalidCatalogueDescription,
                    "\"" + path + "\" is not valid JSON: " + error.what());
    }
}

int runBuild(const std::vector<std::string>& args) {
    const auto parsed = parseCommandArguments(args, 2);
    if (!parsed) {
        std::cerr << "usage: tessaro-catalogue build DESCRIPTION.json OUT.mdb [--password PWD]\n";
        return BadUsage;
    }
    try {
        const auto description =
            catalogue::catalogueDescriptionFromJson(readJson(parsed->positional[0]));
        catalogue::writeCatalogue(description, parsed->positional[1], parsed->password);
    } catch (const Error& error) {
        std::cerr << "tessaro-catalogue build: " << error.text() << "\n";
        return BadInput;
    }
    return 0;
}

const CommandRegistration registration({
    .name = "build",
    .usage = "build DESCRIPTION.json OUT.mdb [--password PWD]",
    .summary = "write a Jet 3 catalogue as DESCRIPTION.json describes it",
    .run = runBuild,
});

}  // namespace
}  // namespace tessaro::tools
