// SPDX-License-Identifier: MIT
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/media/interpreter.h"
#include "sim/sim_backend.h"
#include "sim/virtual_clock.h"

namespace tessaro::media::testing {

inline constexpr const char* VideoPath = "C:\\M\\video\\a.mpg";
inline constexpr const char* SoundPath = "C:\\M\\sound\\mp2\\c1.mp2";
inline constexpr double VideoLengthMs = 10000;
inline constexpr double VideoFrameRate = 25;
inline constexpr double SoundLengthMs = 3000;

// The commands exactly as the control sends them.
inline const std::string OpenVideo =
    std::string("open ") + VideoPath + "  alias video type mpegVideo  style child parent  1234";
inline const std::string OpenSound =
    std::string("open ") + SoundPath + " alias Sound type mpegVideo";

struct Answer {
    int number;
    std::string reply;
};

// An interpreter over the sim backend with a video, a narration clip and a file that
// cannot be decoded declared; failures reported through execute() are collected.
class MediaFixture {
  public:
    MediaFixture() {
        auto backend = std::make_unique<SimBackend>(clock);
        backend->declareMedia(VideoPath, VideoLengthMs, VideoFrameRate);
        backend->declareMedia(SoundPath, SoundLengthMs);
        backend->declareMedia("C:\\My Media\\clip one.mpg", 2000, 25);
        backend->declareUndecodable("C:\\M\\video\\bad.mpg");
        sim = backend.get();
        service = std::make_unique<Interpreter>(std::move(backend));
        service->setErrorReporter(
            [this](const std::string& message) { reports.push_back(message); });
    }

    // Sends a query as the control does: a 50-blank area, reply length 49.
    Answer query(const std::string& command) {
        char area[50];
        std::memset(area, ' ', sizeof area);
        const int number = service->sendString(command, area, 49, 0);
        return Answer{number, std::string(area, ::strnlen(area, sizeof area))};
    }

    std::string status(const std::string& device, const std::string& item) {
        return query("status " + device + " " + item).reply;
    }

    void advance(std::int64_t ms) { clock.advanceTo(clock.nowMs() + ms); }

    sim::VirtualClock clock;
    SimBackend* sim = nullptr;
    std::unique_ptr<Interpreter> service;
    std::vector<std::string> reports;
};

}  // namespace tessaro::media::testing
