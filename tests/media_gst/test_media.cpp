// SPDX-License-Identifier: MIT
#include "tests/media_gst/test_media.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace tessaro::media::testing {

std::string makeTempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

TestMedia::TestMedia() : folder_(makeTempFolder("tessaro-media-")) {}

TestMedia::~TestMedia() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

const std::string& TestMedia::video() {
    if (video_.empty())
        video_ = made("clip.mpg", "-f lavfi -i testsrc=size=" + std::to_string(videoWidth) + "x" +
                                      std::to_string(videoHeight) +
                                      ":rate=" + std::to_string(videoFrameRate) + " -t " +
                                      std::to_string(videoSeconds) + " -c:v mpeg1video -f mpeg");
    return video_;
}

const std::string& TestMedia::narration() {
    if (narration_.empty())
        narration_ = made("speech.mp2", "-f lavfi -i sine=frequency=440:sample_rate=44100 -t " +
                                            std::to_string(narrationSeconds) + " -c:a mp2 -f mp2");
    return narration_;
}

const std::string& TestMedia::tone() {
    if (tone_.empty())
        tone_ = made("tone.mp2", "-f lavfi -i sine=frequency=660:sample_rate=44100:duration=" +
                                     std::to_string(toneMilliseconds / 1000.0) + ",adelay=" +
                                     std::to_string(toneSilenceMilliseconds) + " -c:a mp2 -f mp2");
    return tone_;
}

const std::string& TestMedia::countingVideo() {
    if (countingVideo_.empty())
        countingVideo_ = made("counting.mpg", "-f lavfi -i color=c=black:s=64x48:r=" +
                                                  std::to_string(videoFrameRate) +
                                                  ":d=" + std::to_string(videoSeconds) +
                                                  ",format=yuv420p,geq=lum='16+N*4':cb=128:cr=128"
                                                  " -c:v mpeg1video -q:v 2 -f mpeg");
    return countingVideo_;
}

int frameShown(int red) {
    // Limited-range luma 16 + 4 N comes out as red (4 N) * 255 / 219.
    return static_cast<int>(std::lround(red * 219.0 / 255.0 / 4.0));
}

const std::string& TestMedia::corrupt() {
    if (corrupt_.empty()) {
        const std::string path = folder_ + "/broken.mpg";
        std::mt19937 bytes(20240607);
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 64 * 1024; ++i)
            out.put(static_cast<char>(bytes() & 0xff));
        corrupt_ = path;
    }
    return corrupt_;
}

std::string TestMedia::missing() const {
    return folder_ + "/absent.mpg";
}

std::string TestMedia::made(const std::string& name, const std::string& ffmpegArgs) {
    const std::string target = folder_ + "/" + name;
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y " + ffmpegArgs + " '" + target + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("ffmpeg failed: " + command);
    return target;
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* before = std::getenv(name))
        before_ = before;
    setenv(name, value, 1);
}

ScopedVariable::~ScopedVariable() {
    if (before_)
        setenv(name_.c_str(), before_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        sleepFor(std::chrono::milliseconds(10));
    }
    return true;
}

void sleepFor(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace tessaro::media::testing
