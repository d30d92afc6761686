// SPDX-License-Identifier: MIT
#include "tests/render/render_course.h"

#include <cstdio>
#include <filesystem>

#include "tests/support/course_catalogue.h"
#include "tests/support/process.h"

namespace tessaro::testing {
namespace {

// Bit b of the frame number is the b-th 16-pixel column, white for 1.
void writeBarCodeVideo(const std::string& path, int frames) {
    ffmpeg(
        "-f lavfi -i \"color=c=black:size=160x128:rate=25,format=gray,"
        "geq=lum='if(bitand(floor(N/pow(2\\,floor(X/16)))\\,1)\\,235\\,16)'\" -frames:v " +
            std::to_string(frames) + " -c:v mpeg1video -q:v 2 -f mpeg",
        path);
}

void writeNoise(const std::string& path, double seconds, int seed) {
    ffmpeg("-f lavfi -i \"anoisesrc=d=" + std::to_string(seconds) + ":c=pink:a=0.5:seed=" +
               std::to_string(seed) + "\" -ar 44100 -ac 1 -c:a mp2 -b:a 128k",
           path);
}

void writePicture(const std::string& path, unsigned rgb) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "0x%06X", rgb);
    ffmpeg("-f lavfi -i \"color=c=" + std::string(colour) + ":size=120x96\" -frames:v 1", path);
}

std::string pictureName(const TestAsana& a, std::size_t k) {
    return a.clips[k].file + ".jpg";
}

void addClipTable(CourseCatalogue& catalogue, const TestAsana& a) {
    if (a.video.empty()) {
        catalogue.pictureTable(a.id);
        for (std::size_t k = 0; k < a.clips.size(); ++k)
            catalogue.picture(a.id, a.clips[k].file, pictureName(a, k));
        return;
    }
    catalogue.clipTable(a.id);
    for (const TestClip& c : a.clips)
        catalogue.clip(a.id, c.file, "say", c.startFrame, c.startFrame, c.seconds);
}

}  // namespace

std::vector<TestAsana> testCourseAsanas() {
    return {
        {"Trikoñásana",
         4,
         "trikona.mpg",
         100,
         {{"trikona_1", 0, 1.5}, {"trikona_2", 25, 0.4}, {"trikona_3", 60, 0.5}},
         {},
         true},
        {"Savasana", 7, "savasana.mpg", 25, {{"savasana_1", 0, 1.6}}, {}, true},
        {"Surya",
         9,
         "",
         0,
         {{"surya_a", 0, 0.5}, {"surya_b", 0, 0.7}, {"surya_c", 0, 0.4}},
         {0xC01010, 0x10C010, 0x1010C0},
         true},
        {"Broken", 12, "savasana.mpg", 25, {{"broken_1", 0, 0.5}}, {}, false},
        {"Unreachable", 13, "savasana.mpg", 25, {{"far_1", 0, 0.3}, {"far_2", 500, 0.3}}, {}, true},
    };
}

void writeTestCourse(const std::string& root, const std::vector<TestAsana>& asanas) {
    namespace fs = std::filesystem;
    makeCourseFolders(root);
    CourseCatalogue catalogue;
    for (const TestAsana& a : asanas)
        catalogue.asana(a.name, a.id, a.video.empty() ? "Photo" : "Video",
                        a.video.empty() ? Variant::null() : Variant(a.video));
    int seed = 1;
    for (const TestAsana& a : asanas) {
        addClipTable(catalogue, a);
        if (!a.video.empty() && !fs::exists(root + "/video/" + a.video))
            writeBarCodeVideo(root + "/video/" + a.video, a.videoFrames);
        for (std::size_t k = 0; k < a.clips.size(); ++k) {
            if (a.narrationsPresent)
                writeNoise(root + "/sound/mp2/" + a.clips[k].file + ".mp2", a.clips[k].seconds,
                           seed++);
            if (k < a.pictureColours.size())
                writePicture(root + "/video/" + pictureName(a, k), a.pictureColours[k]);
        }
    }
    catalogue.writeToCourse(root);
}

}  // namespace tessaro::testing
