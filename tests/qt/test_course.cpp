// SPDX-License-Identifier: MIT
#include "tests/qt/test_course.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <stdexcept>
#include <string>

#include "tests/support/course_catalogue.h"
#include "tests/support/process.h"

namespace tessaro::qt::testing {
namespace {

void savePicture(const std::filesystem::path& path, QRgb colour) {
    QImage image(352, 288, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(QString::fromStdString(path.string())))
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

TestCourse::TestCourse(const std::string& videoSource, int secondClipFrame) {
    const std::filesystem::path& root = folder_.path();
    tessaro::testing::makeCourseFolders(root);
    const int seconds = secondClipFrame / 25 + 1;
    tessaro::testing::ffmpeg("-f lavfi -i " + videoSource + ":size=352x288:rate=25 -t " +
                                 std::to_string(seconds) + " -c:v mpeg1video -f mpeg",
                             root / "video/pose.mpg");
    for (const char* clip : {"clip1", "clip2"})
        tessaro::testing::ffmpeg(
            "-f lavfi -i sine=frequency=440:sample_rate=44100 -t 0.6 -c:a mp2 -f mp2",
            root / "sound/mp2" / (std::string(clip) + ".mp2"));
    savePicture(root / "video/pose1.png", qRgb(255, 0, 0));
    savePicture(root / "video/pose2.png", qRgb(0, 255, 0));
    tessaro::testing::CourseCatalogue catalogue;
    catalogue.asana("Tadasana", 1, "Video", "pose.mpg");
    catalogue.asana("Vrksasana", 2, "Photo", "");
    catalogue.clip(1, "clip1", "stand", 0, 20, 0.6);
    catalogue.clip(1, "clip2", "breathe", secondClipFrame, secondClipFrame + 20, 0.6);
    catalogue.picture(2, "clip1", "pose1.png");
    catalogue.picture(2, "clip2", "pose2.png");
    catalogue.writeToCourse(root);
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
