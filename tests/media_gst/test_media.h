#pragma once

#include <chrono>
#include <cstdlib>
#include <functional>
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
    // Random bytes under a media file's name.
    const std::string& corrupt();
    // A name in the folder that no file has.
    std::string missing() const;
    const std::string& folder() const { return folder_; }

  private:
    std::string made(const std::string& name, const std::string& ffmpegArgs);

    std::string folder_;
    std::string video_;
    std::string narration_;
    std::string corrupt_;
};

// Polls until the condition holds; false when it still does not after the (generous)
// limit, which only a broken player reaches.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(15));

void sleepFor(std::chrono::milliseconds duration);

// Sets an environment variable for its own lifetime (the media sinks read theirs at open).
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) { ::setenv(name, value, 1); }
    ~ScopedVariable() { ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
};

}  // namespace tessaro::media::testing
