// SPDX-License-Identifier: MIT
#include "bench/soak/virtual_host.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <tessaro/catalogue.h>
#include "course/course_folder.h"
#include "platform/paths/paths.h"

namespace tessaro::soak {
namespace {

namespace fs = std::filesystem;

constexpr double VideoFrameRate = 25;

double mediaLengthMs(const fs::path& file) {
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + file.string() + "'";
    FILE* probe = ::popen(command.c_str(), "r");
    double seconds = 0;
    const bool read = probe && std::fscanf(probe, "%lf", &seconds) == 1;
    if (probe)
        ::pclose(probe);
    if (!read)
        throw std::runtime_error("ffprobe cannot measure " + file.string());
    return seconds * 1000;
}

}  // namespace

VirtualHost::VirtualHost(std::string course)
    : course_(std::move(course)),
      interpreter_([this] {
          auto backend = std::make_unique<media::SimBackend>(clock_);
          declareCourse(*backend);
          return backend;
      }()),
      control_({catalogue::processEngine(), interpreter_, container_, courseFolder_}) {
    interpreter_.setErrorReporter([this](const std::string&) { ++messages; });
    container_.onMessageBox([this](std::string_view) { ++messages; });
    container_.onEvent("VideoEnd", [this] { ++videoEnds; });
    control_.Resourcedir(course_);
}

void VirtualHost::declareCourse(media::SimBackend& backend) {
    for (const auto& entry : fs::directory_iterator(paths::resolve(course::videoFolder(course_)))) {
        const fs::path& file = entry.path();
        if (file.extension() == ".mpg")
            backend.declareMedia(file.string(), mediaLengthMs(file), VideoFrameRate);
        else if (file.extension() == ".jpg")
            container_.pictures().declarePicture(file.string());
    }
    for (const auto& entry :
         fs::directory_iterator(paths::resolve(course::narrationFolder(course_))))
        backend.declareMedia(entry.path().string(), mediaLengthMs(entry.path()));
}

// The container keeps a record of everything the control told it; the soak wants none.
void VirtualHost::pass(int ms) {
    container_.advance(ms);
    container_.clearRecords();
}

bool VirtualHost::passUntil(const std::function<bool()>& condition, int limitMs) {
    const bool held = container_.runUntil(condition, limitMs);
    container_.clearRecords();
    return held;
}

}  // namespace tessaro::soak
