// SPDX-License-Identifier: MIT
#include "tests/qt/real_world_course.h"

#include <QDir>
#include <cstdlib>
#include <stdexcept>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::qt::testing {
namespace {

using catalogue::ColumnType;

const std::string picture = "-f lavfi -i testsrc=size=352x288:rate=25";
const std::string sound = "-f lavfi -i sine=frequency=330:sample_rate=44100";

void ffmpeg(const std::string& arguments, const QString& target) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y " + arguments + " '" + target.toStdString() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("ffmpeg failed: " + command);
}

catalogue::TableDescription clipTable(int id) {
    return {"Audio_Asana" + std::to_string(id),
            {{"Filename"},
             {"Action"},
             {"StartPos", ColumnType::Integer},
             {"EndPos", ColumnType::Integer},
             {"Filelen", ColumnType::Double}},
            {{"clip1", "stand", 0, 20, clipSeconds},
             {"clip2", "breathe", secondClipFrame, secondClipFrame + 20, clipSeconds}}};
}

catalogue::TableDescription pictureTable(int id, const std::vector<PictureFormat>& formats) {
    catalogue::TableDescription photos{
        "Photo_Asana" + std::to_string(id), {{"Mp2name"}, {"ImageName"}}, {}};
    for (const PictureFormat& format : formats)
        photos.rows.push_back({"short", format.file.toStdString()});
    return photos;
}

}  // namespace

const std::vector<VideoAsana>& realWorldVideos() {
    static const std::vector<VideoAsana> videos = {
        // A screen recorder's: the sound runs 3 s before the first picture.
        {"Latevideo", "late.mpg",
         sound + ":duration=5 -itsoffset 3 " + picture +
             ":duration=2 -map 0:a -map 1:v -c:v mpeg1video -c:a mp2 -fps_mode passthrough -f "
             "mpeg"},
        {"Elementary", "elementary.mpg", picture + ":duration=2 -c:v mpeg1video -f mpeg1video"},
        {"Mpegtwo", "mpeg2.mpg", picture + ":duration=2 -c:v mpeg2video -f mpeg2video"},
        {"Mpegtwoprogram", "dvd.mpg",
         picture + ":duration=2 " + sound + ":duration=2 -c:v mpeg2video -c:a mp2 -f vob"},
        {"Hdtv", "h264.mpg", picture + ":duration=2 -c:v libx264 -pix_fmt yuv420p -f mpeg"},
    };
    return videos;
}

RealWorldCourse::RealWorldCourse() {
    const QDir root(folder_.path());
    for (const char* sub : {"video", "hotspots", "sound/mp2"})
        root.mkpath(sub);
    formats_ = writePictureFormats(root.filePath("video"));
    catalogue::TableDescription asanas{
        "Asanas", {{"name"}, {"AsanaID", ColumnType::Long}, {"Disp_Type"}, {"VideoName"}}, {}};
    catalogue::CatalogueDescription description{{asanas}};
    int id = 1;
    for (const VideoAsana& asana : realWorldVideos()) {
        ffmpeg(asana.ffmpegArgs, root.filePath(QString("video/") + asana.file));
        description.tables[0].rows.push_back({asana.name, id, "Video", asana.file});
        description.tables.push_back(clipTable(id++));
    }
    description.tables[0].rows.push_back({"Formats", id, "Photo", ""});
    description.tables.push_back(pictureTable(id, formats_));
    for (const char* clip : {"clip1", "clip2"})
        ffmpeg(sound + " -t " + std::to_string(clipSeconds) + " -c:a mp2 -f mp2",
               root.filePath(QString("sound/mp2/%1.mp2").arg(clip)));
    ffmpeg(sound + " -t " + std::to_string(pictureClipSeconds) + " -c:a mp2 -f mp2",
           root.filePath("sound/mp2/short.mp2"));
    for (const char* copy : {"hotspots/VUDuzu.mdb", "video/VUDuzu.mdb"})
        catalogue::writeCatalogue(description, root.filePath(copy).toStdString(), "Lark7meadOW");
}

}  // namespace tessaro::qt::testing
