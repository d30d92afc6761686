// SPDX-License-Identifier: MIT
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>

#include <tessaro/catalogue.h>
#include <tessaro/version.h>

#include "course/asana_list.h"
#include "tools/tessaro-play/play_options.h"
#include "tools/tessaro-play/play_session.h"

#include <nlohmann/json.hpp>

namespace {

using namespace tessaro::play;

// Qt wants a private runtime folder and complains on stderr where a root shell has none.
void providePrivateRuntimeDir() {
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr)
        return;
    const std::string folder = "/tmp/tessaro-runtime-" + std::to_string(::getuid());
    struct stat info;
    const bool usable = (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) &&
                        ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
                        info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
    if (usable)
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

int listCourse(const PlayOptions& options) {
    try {
        for (const auto& entry : tessaro::course::listAsanas(tessaro::catalogue::processEngine(),
                                                             options.resourceDir)) {
            if (options.json) {
                nlohmann::ordered_json line;
                line["name"] = entry.name;
                line["kind"] = entry.kind;
                line["clips"] = entry.clips;
                std::cout << line.dump() << "\n";
            } else {
                const char* unit = entry.kind == "video" ? " clip" : " picture";
                std::cout << "  " << entry.name << "  (" << entry.kind << ", " << entry.clips
                          << unit << (entry.clips == 1 ? "" : "s") << ")\n";
            }
        }
    } catch (const tessaro::Error& error) {
        std::cerr << "tessaro-play: error " << error.number() << ": " << error.text() << "\n";
        return ExitFailed;
    }
    return ExitEnded;
}

}  // namespace

int main(int argc, char** argv) {
    PlayOptions options;
    try {
        options = parsePlayOptions({argv + 1, argv + argc});
    } catch (const std::invalid_argument& error) {
        std::cerr << "tessaro-play: " << error.what() << "\n"
                  << "Try 'tessaro-play --help' for more information.\n";
        return ExitFailed;
    }
    if (options.mode == PlayMode::Help) {
        std::cout << PlayHelp;
        return ExitEnded;
    }
    if (options.mode == PlayMode::Version) {
        std::cout << "tessaro-play (Tessaro) " << tessaro::version() << "\n";
        return ExitEnded;
    }
    if (options.mode == PlayMode::List)
        return listCourse(options);

    // Headless unless a window was asked for: nobody could close a box or watch a window.
    // Then nothing needs GLib's main loop on this thread (the media devices read their buses
    // when asked), and Qt's own event loop wakes for the control's timers at less cost.
    if (!options.window) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ::setenv("QT_NO_GLIB", "1", 0);
    }
    // The picture preview reads the catalogue below the library's folder; for a course
    // folder given on the command line, the course folder stands for it.
    ::setenv("TESSARO_MODULE_DIR", options.resourceDir.c_str(), 0);
    providePrivateRuntimeDir();
    QApplication app(argc, argv);
    QApplication::setApplicationName("tessaro-play");
    return runPlaySession(options);
}
