// SPDX-License-Identifier: MIT
#include "tests/qt/test_course.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::qt::testing {
namespace {

void ffmpeg(const std::string& arguments, const QString& target) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y " + arguments + " '" + target.toStdString() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("ffmpeg failed: " + command);
}

void savePicture(const QString& path, QRgb colour) {
    QImage image(352, 288, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path))
        throw std::runtime_error("cannot write " + path.toStdString());
}

catalogue::CatalogueDescription courseCatalogue(int secondClipFrame) {
    using catalogue::ColumnType;
    catalogue::TableDescription asanas{
        "Asanas",
        {{"name"}, {"AsanaID", ColumnType::Long}, {"Disp_Type"}, {"VideoName"}},
        {{"Tadasana", 1, "Video", "pose.mpg"}, {"Vrksasana", 2, "Photo", ""}}};
    catalogue::TableDescription clips{
        "Audio_Asana1",
        {{"Filename"},
         {"Action"},
         {"StartPos", ColumnType::Integer},
         {"EndPos", ColumnType::Integer},
         {"Filelen", ColumnType::Double}},
        {{"clip1", "stand", 0, 20, 0.6},
         {"clip2", "breathe", secondClipFrame, secondClipFrame + 20, 0.6}}};
    catalogue::TableDescription pictures{"Photo_Asana2",
                                         {{"Mp2name"}, {"ImageName"}},
                                         {{"clip1", "pose1.png"}, {"clip2", "pose2.png"}}};
    return {{asanas, clips, pictures}};
}

}  // namespace

TestCourse::TestCourse(const std::string& videoSource, int secondClipFrame) {
    const QDir root(folder_.path());
    for (const char* sub : {"video", "hotspots", "sound/mp2"})
        root.mkpath(sub);
    const int seconds = secondClipFrame / 25 + 1;
    ffmpeg("-f lavfi -i " + videoSource + ":size=352x288:rate=25 -t " + std::to_string(seconds) +
               " -c:v mpeg1video -f mpeg",
           root.filePath("video/pose.mpg"));
    for (const char* clip : {"clip1", "clip2"})
        ffmpeg("-f lavfi -i sine=frequency=440:sample_rate=44100 -t 0.6 -c:a mp2 -f mp2",
               root.filePath(QString("sound/mp2/%1.mp2").arg(clip)));
    savePicture(root.filePath("video/pose1.png"), qRgb(255, 0, 0));
    savePicture(root.filePath("video/pose2.png"), qRgb(0, 255, 0));
    for (const char* copy : {"hotspots/VUDuzu.mdb", "video/VUDuzu.mdb"})
        catalogue::writeCatalogue(courseCatalogue(secondClipFrame),
                                  root.filePath(copy).toStdString(), "Lark7meadOW");
}

bool spinUntil(const std::function<bool()>& condition, std::chrono::seconds limit) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > std::chrono::milliseconds(limit).count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace tessaro::qt::testing
