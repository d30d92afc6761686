// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tessaro::render {

// From atMs on (virtual clock, milliseconds since the playback start) a device stood at
// positionMs of its media and ran on or stood still.
struct PlayState {
    std::int64_t atMs = 0;
    double positionMs = 0;
    bool running = false;
};

// One media device the control opened, and how it played.
struct DeviceTrack {
    std::string path;
    double lengthMs = 0;
    // Frames per second as a fraction; 0 for a sound.
    int rateNumerator = 0;
    int rateDenominator = 1;
    std::int64_t openedMs = 0;
    // When the control closed it; -1 while it stays open past the end.
    std::int64_t closedMs = -1;
    std::vector<PlayState> states;

    double frameRate() const;
    // The media position the device plays or shows at that instant: a running device
    // moves with the clock and stops at its end.
    double positionAt(double ms) const;
    // Whether it plays at that instant (running and not yet at its end).
    bool playingAt(double ms) const;
    // The frame shown at that instant, numbered as the device counts frames.
    long long frameAt(double ms) const;
    // Records a change; a state that continues the last one is not repeated.
    void record(const PlayState& state);
};

// The picture Picture1 shows from fromMs on; an empty path is no picture.
struct PictureShown {
    std::int64_t fromMs = 0;
    std::string path;
};

// The video standing still at one frame between fromMs and toMs.
struct Hold {
    long long frame = 0;
    std::int64_t fromMs = 0;
    std::int64_t toMs = 0;
};

// What the control showed and played from its playback start to VideoEnd.
struct Timeline {
    std::string asana;
    bool video = false;
    // The asana's video (video asanas only).
    DeviceTrack videoTrack;
    // The narrations in the order they started; the k-th is clip k.
    std::vector<DeviceTrack> narrations;
    // The clip count the control published with the first CurAudioNos.
    int clips = 0;
    std::vector<PictureShown> pictures;
    // Picture1's size in pixels.
    int boxWidth = 0;
    int boxHeight = 0;
    std::int64_t endMs = 0;

    // Narration k's start: when its device first ran.
    std::int64_t narrationStartMs(std::size_t k) const;
    // "clip 2 of 3".
    std::string clipTitle(std::size_t k) const;
    // The spans in which the video stood still before VideoEnd.
    std::vector<Hold> holds() const;
    // The picture shown at that instant ("" for none).
    const std::string& pictureAt(double ms) const;
};

// The timeline as tools and tests read it: kind, duration, clip starts, holds, the
// video's play states and the pictures.
nlohmann::ordered_json timelineJson(const Timeline& timeline);

}  // namespace tessaro::render
