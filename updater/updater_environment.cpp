// SPDX-License-Identifier: MIT
#include "updater/updater_environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace mendrick {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder() {
    if (std::string home = variable("HOME"); !home.empty())
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

// The XDG base directory rules: a relative $XDG_CONFIG_HOME is ignored.
std::string configurationFolder() {
    if (std::string folder = variable("XDG_CONFIG_HOME"); folder.starts_with('/'))
        return folder;
    return homeFolder() + "/.config";
}

std::string profileFile() {
    if (std::string profile = variable("MENDRICK_PROFILE"); !profile.empty())
        return profile;
    return configurationFolder() + "/Veltrana/Quillon.ini";
}

// A native path, used as the system gives it: the Windows-style resolution of the
// profile's entry has no say here. Empty when it cannot be known.
std::string ownFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || !program.is_absolute()) {
        if (!argv0 || std::string_view(argv0).find('/') == std::string_view::npos)
            return {};
        program = std::filesystem::canonical(argv0, error);
        if (error)
            return {};
    }
    return program.parent_path().string();
}

}  // namespace

UpdateSetup setupFromEnvironment(const char* argv0) {
    return {profileFile(), ownFolder(argv0), currentMachine()};
}

bool unattended() {
    return variable("MENDRICK_NONINTERACTIVE") == "1";
}

int exitCodeFor(Outcome outcome) {
    switch (outcome) {
        case Outcome::Updated:
            return 0;
        case Outcome::NotInstalled:
            return 1;
        case Outcome::CopyFailed:
        case Outcome::Refused:
            return 2;
    }
    return 2;
}

}  // namespace mendrick
