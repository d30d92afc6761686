// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/progress.h"

#include <iostream>

namespace tessaro::render {
namespace {

constexpr int BarWidth = 30;

void printJson(const nlohmann::ordered_json& line) {
    std::cout << line.dump() << std::endl;
}

}  // namespace

void Progress::started(int index, int count, const std::string& asana) {
    index_ = index;
    count_ = count;
    asana_ = asana;
    percent_ = -1;
    advanced(0);
}

// Reported only when the whole percent changes.
void Progress::advanced(double fraction) {
    const int percent = static_cast<int>(fraction * 100);
    if (percent == percent_)
        return;
    percent_ = percent;
    if (json_) {
        printJson({{"event", "progress"},
                   {"asana", asana_},
                   {"index", index_},
                   {"count", count_},
                   {"percent", percent}});
    } else if (terminal_) {
        const int filled = percent * BarWidth / 100;
        std::printf("\r\033[Kasana %d of %d  %s  [%s%s] %3d%%", index_, count_, asana_.c_str(),
                    std::string(static_cast<std::size_t>(filled), '#').c_str(),
                    std::string(static_cast<std::size_t>(BarWidth - filled), '.').c_str(), percent);
        std::fflush(stdout);
        barShown_ = true;
    }
}

void Progress::rendered(const std::string& file, nlohmann::ordered_json result) {
    clearBar();
    if (json_) {
        nlohmann::ordered_json line{
            {"event", "rendered"}, {"index", index_}, {"count", count_}, {"file", file}};
        line.update(result);
        printJson(line);
        return;
    }
    const std::size_t clips = result["clips"].size();
    std::printf("asana %d of %d  %s  %.3f s, %zu %s -> %s\n", index_, count_, asana_.c_str(),
                result.value("durationMs", 0) / 1000.0, clips, clips == 1 ? "clip" : "clips",
                file.c_str());
}

void Progress::failed(const std::string& message) {
    clearBar();
    if (json_)
        printJson({{"event", "failed"}, {"asana", asana_}, {"message", message}});
    std::cerr << "tessaro-render: " << message << std::endl;
}

void Progress::indexWritten(const std::string& path) {
    clearBar();
    if (json_)
        printJson({{"event", "index"}, {"file", path}});
    else
        std::printf("index: %s\n", path.c_str());
}

void Progress::clearBar() {
    if (!barShown_)
        return;
    std::printf("\r\033[K");
    std::fflush(stdout);
    barShown_ = false;
}

}  // namespace tessaro::render
