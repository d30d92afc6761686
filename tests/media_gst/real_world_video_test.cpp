// SPDX-License-Identifier: MIT
// Videos as people have them, written by ffmpeg the way capture tools and encoders write
// them, opened and played through the command service as the control drives it.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "platform/media/gst/gst_backend.h"
#include "tests/media_gst/service_queries.h"
#include "tests/media_gst/test_media.h"

namespace tessaro::media {
namespace {

using namespace std::chrono_literals;
using testing::TestMedia;
using testing::waitUntil;

const std::string picture = "-f lavfi -i testsrc=size=160x120:rate=25";
const std::string sound = "-f lavfi -i sine=frequency=330:sample_rate=44100";

struct VideoCase {
    const char* name;
    const char* file;
    std::string ffmpegArgs;
    bool playedThrough;
    friend void PrintTo(const VideoCase& video, std::ostream* out) { *out << video.name; }
};

const std::vector<VideoCase> videoCases = {
    {"ProgramStream", "program.mpg",
     picture + ":duration=3 " + sound + ":duration=3 -c:v mpeg1video -c:a mp2 -f mpeg", false},
    {"Mpeg2ProgramStream", "dvd.vob",
     picture + ":duration=3 " + sound + ":duration=3 -c:v mpeg2video -c:a mp2 -f vob", false},
    // A screen recorder's: the sound runs 3 s before the first picture.
    {"VideoStartsAfterItsSound", "late.mpg",
     sound + ":duration=6 -itsoffset 3 " + picture +
         ":duration=3 -map 0:a -map 1:v -c:v mpeg1video -c:a mp2 -fps_mode passthrough -f mpeg",
     true},
    {"ElementaryStream", "elementary.mpg", picture + ":duration=3 -c:v mpeg1video -f mpeg1video",
     false},
    {"Mpeg2ElementaryStreamOf120Frames", "mpeg2.mpg",
     picture + ":duration=4.8 -c:v mpeg2video -f mpeg2video", true},
    {"LongProgramStream", "long.mpg",
     "-f lavfi -i testsrc=size=64x48:rate=25:duration=480 -g 250 -c:v mpeg1video -f mpeg", false},
};

// The frames ffprobe decodes from the file's first video stream.
long long ffprobeFrames(const std::string& path) {
    const std::string command =
        "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
        "stream=nb_read_frames -of csv=p=0 '" +
        path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    long long frames = -1;
    if (pipe) {
        if (std::fscanf(pipe, "%lld", &frames) != 1)
            frames = -1;
        pclose(pipe);
    }
    return frames;
}

class RealWorldVideoTest : public ::testing::TestWithParam<VideoCase> {
  protected:
    bool open(const std::string& path) {
        return service.execute("open " + path + " alias video type mpegVideo") &&
               service.execute("set video time format frames");
    }
    long long status(const std::string& item) {
        char area[50] = {};
        service.sendString("status video " + item, area, 49, 0);
        return std::atoll(area);
    }

    TestMedia media;
    Interpreter service{makeGstBackend()};
};

TEST_P(RealWorldVideoTest, LengthAfterOpenIsFfprobesFrameCount) {
    const std::string path = media.made(GetParam().file, GetParam().ffmpegArgs);
    ASSERT_TRUE(open(path)) << service.lastOutcome().text;
    EXPECT_EQ(status("length"), ffprobeFrames(path));
    EXPECT_EQ(status("frame rate"), 25000);
    EXPECT_EQ(status("position"), 0);
}

std::vector<VideoCase> playedThrough() {
    std::vector<VideoCase> played;
    for (const VideoCase& video : videoCases)
        if (video.playedThrough)
            played.push_back(video);
    return played;
}

class RealWorldPlaybackTest : public RealWorldVideoTest {};

// Frames count from the video's own first picture, in real time, to its last.
TEST_P(RealWorldPlaybackTest, PlaysFromFrameZeroToItsLength) {
    const std::string path = media.made(GetParam().file, GetParam().ffmpegArgs);
    ASSERT_TRUE(open(path)) << service.lastOutcome().text;
    const long long length = status("length");
    ASSERT_TRUE(service.execute("play video"));
    testing::sleepFor(1000ms);
    EXPECT_NEAR(status("position"), 25, 6);
    ASSERT_TRUE(waitUntil([&] { return testing::modeOf(service, "video") == "STOPPED"; }));
    EXPECT_EQ(status("position"), length);
    EXPECT_EQ(status("length"), length);
}

const auto caseName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Files, RealWorldVideoTest, ::testing::ValuesIn(videoCases), caseName);
INSTANTIATE_TEST_SUITE_P(Files, RealWorldPlaybackTest, ::testing::ValuesIn(playedThrough()),
                         caseName);

TEST(RealWorldVideo, H264InAProgramStreamFailsToOpenSayingSo) {
    TestMedia media;
    const std::string path =
        media.made("h264.mpg", picture + ":duration=2 -c:v libx264 -pix_fmt yuv420p -f mpeg");
    Interpreter service{makeGstBackend()};
    std::vector<std::string> reports;
    service.setErrorReporter([&](const std::string& message) { reports.push_back(message); });
    EXPECT_FALSE(service.execute("open " + path + " alias video type mpegVideo"));
    EXPECT_EQ(service.lastOutcome().number, errors::InvalidFile);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(
        reports[0].find(path + ": video codec H.264 in an MPEG program stream is not supported"),
        std::string::npos)
        << reports[0];
}

}  // namespace
}  // namespace tessaro::media
