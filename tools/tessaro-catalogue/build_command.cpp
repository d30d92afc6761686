#include <fstream>
#include <iostream>
#include <optional>

#include <nlohmann/json.hpp>

#include "platform/catalogue/writer/catalogue_description_json.h"
#include "tools/tessaro-catalogue/command_registry.h"

namespace tessaro::tools {
namespace {

constexpr int BadInput = 1;
constexpr int BadUsage = 2;

struct BuildArguments {
    std::string descriptionPath;
    std::string outputPath;
    std::string password;
};

std::optional<BuildArguments> parseArguments(const std::vector<std::string>& args) {
    BuildArguments parsed;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--password" && i + 1 < args.size()) {
            parsed.password = args[++i];
        } else if (args[i].starts_with("--")) {
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) {
        return std::nullopt;
    }
    parsed.descriptionPath = positional[0];
    parsed.outputPath = positional[1];
    return parsed;
}

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
    const auto parsed = parseArguments(args);
    if (!parsed) {
        std::cerr << "usage: tessaro-catalogue build DESCRIPTION.json OUT.mdb [--password PWD]\n";
        return BadUsage;
    }
    try {
        const auto description =
            catalogue::catalogueDescriptionFromJson(readJson(parsed->descriptionPath));
        catalogue::writeCatalogue(description, parsed->outputPath, parsed->password);
    } catch (const Error& error) {
        std::cerr << "tessaro-catalogue build: " << error.text() << "\n";
        return BadInput;
    }
    return 0;
}

const CommandRegistration registration({
    .name = "build",
    .usage = "build DESCRIPTION.json OUT.mdb [--password PWD]",
    .run = runBuild,
});

}  // namespace
}  // namespace tessaro::tools
