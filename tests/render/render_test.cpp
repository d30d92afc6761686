// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/render/render_course.h"
#include "tests/render/rendered_media.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace tessaro::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

ProcessResult runRender(std::vector<std::string> args) {
    const char* render = std::getenv("TESSARO_RENDER");
    if (render == nullptr)
        throw std::runtime_error("TESSARO_RENDER names no tessaro-render (run through ctest)");
    args.insert(args.begin(), render);
    return runProcess(args);
}

std::vector<json> jsonLines(const std::string& text) {
    std::vector<json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(json::parse(line));
    return lines;
}

// A rendered file, the timeline tessaro-render reported for it and the course it came from.
struct Rendered {
    std::string file;
    json timeline;
    std::string course;
};

// The media position the timeline's video stood at, at an instant (its play states:
// running ones move with the clock up to the video's end).
double videoPositionAt(const json& timeline, double ms) {
    double position = 0;
    for (const json& s : timeline["videoStates"]) {
        if (s["atMs"].get<double>() > ms)
            break;
        position = s["positionMs"].get<double>();
        if (s["running"].get<bool>())
            position = std::min(position + ms - s["atMs"].get<double>(),
                                timeline["videoLengthMs"].get<double>());
    }
    return position;
}

class RenderTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempFolder>("tessaro-render-test");
        root_ = folder_->string();
        course_ = root_ + "/course";
        writeTestCourse(course_, testCourseAsanas());
        courseRun_ = runRender({"--resourcedir", course_, "--course", root_ + "/out", "--json"});
        for (const json& line : jsonLines(courseRun_.out))
            if (line["event"] == "rendered")
                renders_.push_back({line["file"], line, course_});
        renderAsana(course_, "Trikoñásana", root_ + "/trikona.webm");
        if (const char* sample = std::getenv("TESSARO_RENDER_SAMPLE_COURSE")) {
            renderAsana(sample, "Tadasana", root_ + "/tadasana.mp4");
            renderAsana(sample, "Surya Namaskar", root_ + "/surya.webm");
        }
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static void renderAsana(const std::string& course, const std::string& asana,
                            const std::string& out) {
        const ProcessResult run =
            runRender({"--resourcedir", course, "--asana", asana, out, "--json"});
        for (const json& line : jsonLines(run.out))
            if (line["event"] == "rendered")
                renders_.push_back({out, line, course});
    }

    static const json& timelineOf(const std::string& asana) {
        for (const Rendered& r : renders_)
            if (r.timeline["asana"] == asana)
                return r.timeline;
        throw std::runtime_error("not rendered: " + asana);
    }

    static inline std::unique_ptr<TempFolder> folder_;
    static inline std::string root_;
    static inline std::string course_;
    static inline ProcessResult courseRun_;
    static inline std::vector<Rendered> renders_;
};

TEST_F(RenderTest, ACourseRenderWritesEveryAsanaAndAnIndexAndNamesTheOneItCannotRender) {
    EXPECT_EQ(courseRun_.exitCode, 1);
    EXPECT_NE(courseRun_.err.find("missing media file"), std::string::npos) << courseRun_.err;
    EXPECT_NE(courseRun_.err.find("broken_1.mp2"), std::string::npos) << courseRun_.err;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(root_ + "/out"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"01-Trikoñásana.mp4", "01-Trikoñásana.vtt",
                                               "02-Savasana.mp4", "02-Savasana.vtt", "03-Surya.mp4",
                                               "03-Surya.vtt", "index.html"}));
    const std::string page = fileContent(root_ + "/out/index.html");
    std::size_t at = 0;
    for (const char* shown :
         {"1. Trikoñásana", "01-Triko%C3%B1%C3%A1sana.mp4", "clip 3 of 3", "2. Savasana",
          "3. Surya", "4. Broken", "Not rendered: Broken: missing media file", "5. Unreachable",
          "Not rendered: Unreachable"}) {
        const std::size_t found = page.find(shown, at);
        EXPECT_NE(found, std::string::npos) << shown << " not in its place in\n" << page;
        at = found == std::string::npos ? at : found;
    }
    EXPECT_EQ(page.find("<script src"), std::string::npos);
    const std::string chapters = fileContent(root_ + "/out/01-Trikoñásana.vtt");
    for (const json& clip : timelineOf("Trikoñásana")["clips"]) {
        char mark[64];
        std::snprintf(mark, sizeof mark, "00:00:%06.3f --> ", clip["startMs"].get<double>() / 1000);
        const std::size_t cue = chapters.find(mark);
        ASSERT_NE(cue, std::string::npos) << mark << " not in\n" << chapters;
        EXPECT_EQ(chapters.find(clip["title"].get<std::string>(), cue),
                  chapters.find('\n', cue) + 1);
    }
}

TEST_F(RenderTest, TheRenderedFileRunsFromThePlaybackStartToVideoEnd) {
    ASSERT_EQ(renders_.size(), std::getenv("TESSARO_RENDER_SAMPLE_COURSE") ? 6u : 4u);
    for (const Rendered& r : renders_) {
        const GrayVideo video = grayVideo(r.file);
        const double durationMs = r.timeline["durationMs"];
        EXPECT_NEAR(static_cast<double>(video.frames.size()) * video.frameMs, durationMs,
                    video.frameMs)
            << r.file;
        EXPECT_NEAR(static_cast<double>(monoSound(r.file).size()) * 1000.0 / SoundRate, durationMs,
                    video.frameMs)
            << r.file;
    }
}

TEST_F(RenderTest, TheControlHoldsAndAdvancesAsTheClipsAsk) {
    const json& t = timelineOf("Trikoñásana");
    const json& clips = t["clips"];
    ASSERT_EQ(clips.size(), 3u);
    EXPECT_EQ(clips[0]["startMs"], 0);
    // Clip 2 is due at frame 25 (1000 ms) while clip 1 speaks: the video waits there.
    ASSERT_EQ(t["holds"].size(), 1u);
    EXPECT_EQ(t["holds"][0]["frame"], 25);
    EXPECT_EQ(t["holds"][0]["fromMs"], 1000);
    EXPECT_EQ(t["holds"][0]["toMs"], clips[1]["startMs"]);
    EXPECT_EQ(clips[1]["startMs"], std::ceil(clips[0]["lengthMs"].get<double>()));
    // Clip 3, due at frame 60, starts on the spot: 35 frames after the video ran on.
    EXPECT_EQ(clips[2]["startMs"], clips[1]["startMs"].get<int>() + 35 * 40);
    EXPECT_EQ(t["durationMs"],
              clips[2]["startMs"].get<int>() + std::ceil(clips[2]["lengthMs"].get<double>()));
    // One clip outlasting its one-second video: VideoEnd comes when the clip has spoken.
    const json& one = timelineOf("Savasana");
    EXPECT_EQ(one["clips"].size(), 1u);
    EXPECT_EQ(one["durationMs"], std::ceil(one["clips"][0]["lengthMs"].get<double>()));
}

TEST_F(RenderTest, EachFrameIsTheSourceFrameTheControlShowed) {
    for (const Rendered& r : renders_) {
        if (r.timeline["kind"] != "video")
            continue;
        const GrayVideo source =
            grayVideo(r.course + "/video/" + r.timeline["videoFile"].get<std::string>());
        const GrayVideo rendered = grayVideo(r.file);
        const double rate = r.timeline["frameRate"];
        const auto last = static_cast<long long>(source.frames.size()) - 1;
        for (std::size_t k = 0; k < rendered.frames.size(); ++k) {
            const double ms = static_cast<double>(k) * rendered.frameMs;
            const long long expected = std::min(
                last, static_cast<long long>(
                          std::floor(videoPositionAt(r.timeline, ms) * rate / 1000 + 1e-6)));
            ASSERT_EQ(nearestFrame(source, rendered.frames[k], expected, 3), expected)
                << r.file << " frame " << k << " at " << ms << " ms";
        }
    }
}

TEST_F(RenderTest, EachNarrationStartsWhereTheControlStartedIt) {
    for (const Rendered& r : renders_) {
        const std::vector<float> mix = monoSound(r.file);
        for (const json& clip : r.timeline["clips"]) {
            const std::vector<float> sound =
                monoSound(r.course + "/sound/mp2/" + clip["file"].get<std::string>());
            const double startMs = clip["startMs"];
            EXPECT_NEAR(onsetMs(mix, sound, startMs, 60), startMs, 10)
                << r.file << " " << clip["title"];
        }
    }
}

TEST_F(RenderTest, EachPictureStaysAsLongAsItsNarrationPlays) {
    for (const Rendered& r : renders_) {
        if (r.timeline["kind"] != "pictures")
            continue;
        const json& clips = r.timeline["clips"];
        const json& pictures = r.timeline["pictures"];
        ASSERT_EQ(pictures.size(), clips.size()) << r.file;
        std::vector<double> shades;
        for (std::size_t k = 0; k < clips.size(); ++k) {
            EXPECT_EQ(pictures[k]["fromMs"], clips[k]["startMs"]);
            const double until = k + 1 < clips.size() ? clips[k + 1]["startMs"].get<double>()
                                                      : r.timeline["durationMs"].get<double>();
            // The loop polls the narration every 10 ms (Timer2), so the next picture
            // follows its narration's end within that.
            const double shownMs = until - clips[k]["startMs"].get<double>();
            EXPECT_GE(shownMs, clips[k]["lengthMs"].get<double>());
            EXPECT_LE(shownMs, clips[k]["lengthMs"].get<double>() + 11);
            const GrayFrame picture =
                grayVideo(r.course + "/video/" + pictures[k]["file"].get<std::string>())
                    .frames.at(0);
            shades.push_back(picture[0]);
        }
        const GrayVideo rendered = grayVideo(r.file);
        for (std::size_t f = 0; f < rendered.frames.size(); ++f) {
            const double ms = static_cast<double>(f) * rendered.frameMs;
            std::size_t expected = 0;
            while (expected + 1 < clips.size() &&
                   clips[expected + 1]["startMs"].get<double>() <= ms)
                ++expected;
            const double shade = rendered.frames[f][rendered.width * 2 + 2];
            std::size_t nearest = 0;
            for (std::size_t k = 1; k < shades.size(); ++k)
                if (std::abs(shades[k] - shade) < std::abs(shades[nearest] - shade))
                    nearest = k;
            ASSERT_EQ(nearest, expected) << r.file << " frame " << f;
        }
    }
}

struct BadRun {
    const char* what;
    std::vector<std::string> args;  // after --resourcedir COURSE; "OUT/" is the output folder
    int exitCode;
    const char* message;
};

TEST_F(RenderTest, BadInputFailsClearlyAndLeavesNoFileBehind) {
    const std::vector<BadRun> runs = {
        {"unknown asana", {"--asana", "Nowhere", "OUT/a.mp4"}, 3, "Asana not found - Nowhere"},
        {"missing narration", {"--asana", "Broken", "OUT/a.mp4"}, 1, "missing media file"},
        {"clip past the video's end",
         {"--asana", "Unreachable", "OUT/a.webm"},
         1,
         "the video ended at frame 24 before the next clip's start frame 500"},
        {"unwritable output",
         {"--asana", "Savasana", "OUT/no/such/folder/a.mp4"},
         1,
         "cannot write"},
        {"unknown container", {"--asana", "Savasana", "OUT/a.avi"}, 2, ".mp4 or .webm"},
    };
    for (const BadRun& run : runs) {
        const std::string out = root_ + "/bad";
        fs::create_directories(out);
        std::vector<std::string> args = {"--resourcedir", course_};
        for (std::string a : run.args)
            args.push_back(a.rfind("OUT/", 0) == 0 ? out + a.substr(3) : a);
        const ProcessResult result = runRender(args);
        EXPECT_EQ(result.exitCode, run.exitCode) << run.what << "\n" << result.err;
        EXPECT_NE(result.err.find(run.message), std::string::npos) << run.what << "\n"
                                                                   << result.err;
        EXPECT_TRUE(fs::is_empty(out)) << run.what;
        fs::remove_all(out);
    }
}

}  // namespace
}  // namespace tessaro::testing
