// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

namespace tessaro::media::testing {

// Media files made with ffmpeg in a temporary folder of the test's own, on first use;
// the folder goes when the object does.
class TestMedia {
  public:
    TestMedia();
    ~TestMedia();
    TestMedia(const TestMedia&) = delete;
    TestMedia& operator=(const TestMedia&) = delete;

    static constexpr int videoWidth = 352;
    static constexpr int videoHeight = 288;
    static constexpr int videoFrameRate = 25;
    static constexpr int videoSeconds = 2;
    static constexpr int narrationSeconds = 1;

    // MPEG-1 video in a program stream (whose clock starts above 0), without sound.
    const std::string& video();
    // MPEG-1 layer II sound.
    const std::string& narration();
    // A short tone in MPEG-1 layer II after some silence, for tests that play several and
    // tell them apart in a recording.
    static constexpr int toneMilliseconds = 400;
    static constexpr int toneSilenceMilliseconds = 60;
    const std::string& tone();
    // MPEG-1 video whose frame N is a plain grey of luma 16 + 4 N (see frameShown).
    const std::string& countingVideo();
    // Random bytes under a media file's name.
    const std::string& corrupt();
    // A name in the folder that no file has.
    std::string missing() const;
    const std::string& folder() const { return folder_; }
    // A file of the folder written by ffmpeg with these arguments before its name.
    std::string made(const std::string& name, const std::string& ffmpegArgs);

  private:
    std::string folder_;
    std::string video_;
    std::string narration_;
    std::string tone_;
    std::string countingVideo_;
    std::string corrupt_;
};

// A new folder below the system's temporary folder, its name starting with prefix.
std::string makeTempFolder(const std::string& prefix);

// The frame of countingVideo() whose grey a surface shows, from the red of one pixel.
int frameShown(int red);

// Sets an environment variable for the life of the object, and puts back what was there.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    std::string name_;
    std::optional<std::string> before_;
};

// Polls until the condition holds; false when it still does not after the (generous)
// limit, which only a broken player reaches.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(15));

void sleepFor(std::chrono::milliseconds duration);

}  // namespace tessaro::media::testing
