// SPDX-License-Identifier: MIT
#include "tests/qt/real_world_course.h"

#include "tests/support/course_catalogue.h"
#include "tests/support/process.h"

namespace tessaro::qt::testing {
namespace {

using tessaro::testing::ffmpeg;

const std::string Picture = "-f lavfi -i testsrc=size=352x288:rate=25";
const std::string Sound = "-f lavfi -i sine=frequency=330:sample_rate=44100";

}  // namespace

const std::vector<VideoAsana>& realWorldVideos() {
    static const std::vector<VideoAsana> videos = {
        // A screen recorder's: the sound runs 3 s before the first picture.
        {"Latevideo", "late.mpg",
         Sound + ":duration=5 -itsoffset 3 " + Picture +
             ":duration=2 -map 0:a -map 1:v -c:v mpeg1video -c:a mp2 -fps_mode passthrough -f "
             "mpeg"},
        {"Elementary", "elementary.mpg", Picture + ":duration=2 -c:v mpeg1video -f mpeg1video"},
        {"Mpegtwo", "mpeg2.mpg", Picture + ":duration=2 -c:v mpeg2video -f mpeg2video"},
        {"Mpegtwoprogram", "dvd.mpg",
         Picture + ":duration=2 " + Sound + ":duration=2 -c:v mpeg2video -c:a mp2 -f vob"},
        {"Hdtv", "h264.mpg", Picture + ":duration=2 -c:v libx264 -pix_fmt yuv420p -f mpeg"},
    };
    return videos;
}

RealWorldCourse::RealWorldCourse() {
    const std::filesystem::path& root = folder_.path();
    tessaro::testing::makeCourseFolders(root);
    formats_ = writePictureFormats(QString::fromStdString((root / "video").string()));
    tessaro::testing::CourseCatalogue catalogue;
    int id = 1;
    for (const VideoAsana& asana : realWorldVideos()) {
        ffmpeg(asana.ffmpegArgs, root / "video" / asana.file);
        catalogue.asana(asana.name, id, "Video", asana.file);
        catalogue.clip(id, "clip1", "stand", 0, 20, ClipSeconds);
        catalogue.clip(id, "clip2", "breathe", SecondClipFrame, SecondClipFrame + 20, ClipSeconds);
        ++id;
    }
    catalogue.asana("Formats", id, "Photo", "");
    catalogue.pictureTable(id);
    for (const PictureFormat& format : formats_)
        catalogue.picture(id, "short", format.file.toStdString());
    for (const char* clip : {"clip1", "clip2"})
        ffmpeg(Sound + " -t " + std::to_string(ClipSeconds) + " -c:a mp2 -f mp2",
               root / "sound/mp2" / (std::string(clip) + ".mp2"));
    ffmpeg(Sound + " -t " + std::to_string(PictureClipSeconds) + " -c:a mp2 -f mp2",
           root / "sound/mp2/short.mp2");
    catalogue.writeToCourse(root);
}

}  // namespace tessaro::qt::testing
