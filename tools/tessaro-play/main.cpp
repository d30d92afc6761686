#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "platform/catalogue/catalogue.h"
#include "tools/tessaro-play/asana_list.h"
#include "tools/tessaro-play/play_options.h"
#include "tools/tessaro-play/play_session.h"

#include <nlohmann/json.hpp>

namespace {

using namespace tessaro::play;

int listCourse(const PlayOptions& options) {
    try {
        for (const auto& entry :
             listAsanas(tessaro::catalogue::processEngine(), options.resourceDir)) {
            if (options.json) {
                nlohmann::ordered_json line;
                line["name"] = entry.name;
                line["kind"] = entry.kind;
                line["clips"] = entry.clips;
                std::cout << line.dump() << "\n";
            } else {
                std::cout << "  " << entry.name << "  (" << entry.kind << ", " << entry.clips
                          << (entry.kind == "video" ? " clips" : " pictures") << ")\n";
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
        std::cerr << "tessaro-play: " << error.what() << "\n" << playUsage;
        return ExitFailed;
    }
    if (options.mode == PlayMode::List)
        return listCourse(options);

    // Headless unless a window was asked for: nobody could close a box or watch a window.
    if (!options.window)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The picture preview reads the catalogue below the library's folder; for a course
    // folder given on the command line, the course folder stands for it.
    ::setenv("TESSARO_MODULE_DIR", options.resourceDir.c_str(), 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName("tessaro-play");
    return runPlaySession(options);
}
