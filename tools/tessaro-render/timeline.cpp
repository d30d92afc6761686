// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/timeline.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/media/time_format.h"

namespace tessaro::render {
namespace {

// Tolerance for positions that continue a running state.
constexpr double SamePositionMs = 1e-6;

const PlayState* stateAt(const std::vector<PlayState>& states, double ms) {
    const PlayState* found = nullptr;
    for (const PlayState& s : states) {
        if (static_cast<double>(s.atMs) > ms)
            break;
        found = &s;
    }
    return found;
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

double DeviceTrack::frameRate() const {
    return rateNumerator > 0 ? static_cast<double>(rateNumerator) / rateDenominator : 0.0;
}

double DeviceTrack::positionAt(double ms) const {
    const PlayState* s = stateAt(states, ms);
    if (s == nullptr)
        return 0;
    if (!s->running)
        return s->positionMs;
    return std::min(s->positionMs + (ms - static_cast<double>(s->atMs)), lengthMs);
}

bool DeviceTrack::playingAt(double ms) const {
    const PlayState* s = stateAt(states, ms);
    return s != nullptr && s->running && positionAt(ms) < lengthMs;
}

long long DeviceTrack::frameAt(double ms) const {
    const long long frame =
        media::toDeviceUnits(positionAt(ms), media::TimeFormat::Frames, frameRate());
    const long long last = static_cast<long long>(lengthMs * frameRate() / 1000.0 + 0.5) - 1;
    return std::clamp(frame, 0LL, std::max(last, 0LL));
}

void DeviceTrack::record(const PlayState& state) {
    if (!states.empty()) {
        const PlayState& last = states.back();
        const double expected = positionAt(static_cast<double>(state.atMs));
        if (last.running == state.running && std::abs(expected - state.positionMs) < SamePositionMs)
            return;
    }
    states.push_back(state);
}

std::int64_t Timeline::narrationStartMs(std::size_t k) const {
    const DeviceTrack& n = narrations.at(k);
    for (const PlayState& s : n.states)
        if (s.running)
            return s.atMs;
    return n.openedMs;
}

std::string Timeline::clipTitle(std::size_t k) const {
    const std::size_t of =
        std::max<std::size_t>(static_cast<std::size_t>(std::max(clips, 0)), narrations.size());
    return "clip " + std::to_string(k + 1) + " of " + std::to_string(of);
}

std::vector<Hold> Timeline::holds() const {
    std::vector<Hold> result;
    const auto& states = videoTrack.states;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const PlayState& s = states[i];
        if (s.running || s.atMs >= endMs)
            continue;
        const std::int64_t to = i + 1 < states.size() ? std::min(states[i + 1].atMs, endMs) : endMs;
        if (to > s.atMs)
            result.push_back({videoTrack.frameAt(static_cast<double>(s.atMs)), s.atMs, to});
    }
    return result;
}

const std::string& Timeline::pictureAt(double ms) const {
    static const std::string none;
    const std::string* shown = &none;
    for (const PictureShown& p : pictures) {
        if (static_cast<double>(p.fromMs) > ms)
            break;
        shown = &p.path;
    }
    return *shown;
}

nlohmann::ordered_json timelineJson(const Timeline& timeline) {
    nlohmann::ordered_json json;
    json["asana"] = timeline.asana;
    json["kind"] = timeline.video ? "video" : "pictures";
    json["durationMs"] = timeline.endMs;
    nlohmann::ordered_json clips = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < timeline.narrations.size(); ++k) {
        const DeviceTrack& n = timeline.narrations[k];
        clips.push_back({{"title", timeline.clipTitle(k)},
                         {"startMs", timeline.narrationStartMs(k)},
                         {"file", fileName(n.path)},
                         {"lengthMs", n.lengthMs}});
    }
    json["clips"] = clips;
    if (timeline.video) {
        const DeviceTrack& v = timeline.videoTrack;
        json["videoFile"] = fileName(v.path);
        json["frameRate"] = v.frameRate();
        json["videoLengthMs"] = v.lengthMs;
        nlohmann::ordered_json holds = nlohmann::ordered_json::array();
        for (const Hold& h : timeline.holds())
            holds.push_back({{"frame", h.frame}, {"fromMs", h.fromMs}, {"toMs", h.toMs}});
        json["holds"] = holds;
        nlohmann::ordered_json states = nlohmann::ordered_json::array();
        for (const PlayState& s : v.states)
            states.push_back(
                {{"atMs", s.atMs}, {"positionMs", s.positionMs}, {"running", s.running}});
        json["videoStates"] = states;
    } else {
        nlohmann::ordered_json pictures = nlohmann::ordered_json::array();
        for (const PictureShown& p : timeline.pictures)
            pictures.push_back({{"fromMs", p.fromMs}, {"file", fileName(p.path)}});
        json["pictures"] = pictures;
    }
    return json;
}

}  // namespace tessaro::render
