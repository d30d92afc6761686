// SPDX-License-Identifier: MIT
#include "sim/sim_backend.h"

#include <map>

#include <tessaro/command_service.h>
#include "platform/paths/paths.h"
#include "sim/sim_player.h"

namespace tessaro::media {
namespace {

struct DeclaredMedia {
    double lengthMs = 0;
    double frameRate = 0;
    bool decodable = true;
};

// Declared and opened paths meet under the name paths::resolve gives them, folded, so
// that a path written with other separators or another letter case finds its file.
std::string mediaKey(std::string_view path) {
    return paths::foldCase(paths::resolve(path));
}

}  // namespace

struct SimBackend::Impl {
    explicit Impl(sim::VirtualClock& c) : clock(c) {}

    sim::VirtualClock& clock;
    std::map<std::string, DeclaredMedia> media;
};

SimBackend::SimBackend(sim::VirtualClock& clock) : impl_(std::make_unique<Impl>(clock)) {}

SimBackend::~SimBackend() = default;

void SimBackend::declareMedia(std::string_view path, double lengthMs, double frameRate) {
    impl_->media[mediaKey(path)] = DeclaredMedia{lengthMs, frameRate, true};
}

void SimBackend::declareUndecodable(std::string_view path) {
    impl_->media[mediaKey(path)] = DeclaredMedia{0, 0, false};
}

std::unique_ptr<Player> SimBackend::open(const std::string& path, std::intptr_t) {
    const auto found = impl_->media.find(mediaKey(path));
    if (found == impl_->media.end())
        throw Error(static_cast<int>(errors::FileNotFound), "no such file: " + path);
    if (!found->second.decodable)
        throw Error(static_cast<int>(errors::InvalidFile), "cannot decode: " + path);
    return std::make_unique<SimPlayer>(impl_->clock, found->second.lengthMs,
                                       found->second.frameRate);
}

}  // namespace tessaro::media
