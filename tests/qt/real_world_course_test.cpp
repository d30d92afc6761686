// SPDX-License-Identifier: MIT
// A course of media as people have them, played by the real control: videos written the
// way capture tools and encoders write them, and pictures in every format a course made on
// Windows may hold.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/catalogue/writer/catalogue_writer.h"
#include "platform/media/gst/gst_backend.h"
#include "platform/qt/kavo_video_sync_widget.h"
#include "platform/qt/message_presenter.h"
#include "tests/qt/picture_formats.h"
#include "tests/qt/qt_test_main.h"
#include "tests/qt/test_course.h"

namespace tessaro::qt {
namespace {

using catalogue::ColumnType;
using testing::spinUntil;

const std::string picture = "-f lavfi -i testsrc=size=352x288:rate=25";
const std::string sound = "-f lavfi -i sine=frequency=330:sample_rate=44100";

struct VideoAsana {
    const char* name;
    const char* file;
    std::string ffmpegArgs;
};

// Each video lasts 2 s; clip1 starts at frame 0, clip2 at frame 25 (1 s in).
const std::vector<VideoAsana> videoAsanas = {
    {"Latevideo", "late.mpg",
     sound + ":duration=5 -itsoffset 3 " + picture +
         ":duration=2 -map 0:a -map 1:v -c:v mpeg1video -c:a mp2 -fps_mode passthrough -f mpeg"},
    {"Elementary", "elementary.mpg", picture + ":duration=2 -c:v mpeg1video -f mpeg1video"},
    {"Mpegtwo", "mpeg2.mpg", picture + ":duration=2 -c:v mpeg2video -f mpeg2video"},
    {"Mpegtwoprogram", "dvd.mpg",
     picture + ":duration=2 " + sound + ":duration=2 -c:v mpeg2video -c:a mp2 -f vob"},
    {"Hdtv", "h264.mpg", picture + ":duration=2 -c:v libx264 -pix_fmt yuv420p -f mpeg"},
};
constexpr int secondClipFrame = 25;
constexpr double clipSeconds = 0.6;
constexpr double pictureClipSeconds = 0.3;

void ffmpeg(const std::string& arguments, const QString& target) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y " + arguments + " '" + target.toStdString() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("ffmpeg failed: " + command);
}

catalogue::TableDescription clipTable(int id, double seconds, bool pictures,
                                      const std::vector<testing::PictureFormat>& formats) {
    const std::string table = (pictures ? "Photo_Asana" : "Audio_Asana") + std::to_string(id);
    if (!pictures)
        return {table,
                {{"Filename"},
                 {"Action"},
                 {"StartPos", ColumnType::Integer},
                 {"EndPos", ColumnType::Integer},
                 {"Filelen", ColumnType::Double}},
                {{"clip1", "stand", 0, 20, seconds},
                 {"clip2", "breathe", secondClipFrame, secondClipFrame + 20, seconds}}};
    catalogue::TableDescription photos{table, {{"Mp2name"}, {"ImageName"}}, {}};
    for (const testing::PictureFormat& format : formats)
        photos.rows.push_back({"short", format.file.toStdString()});
    return photos;
}

// The course under a temporary Resourcedir: one video asana per entry of videoAsanas, and
// "Formats", a picture asana showing one picture of each format with a short narration.
class RealWorldCourse {
  public:
    RealWorldCourse() {
        const QDir root(folder_.path());
        for (const char* sub : {"video", "hotspots", "sound/mp2"})
            root.mkpath(sub);
        catalogue::TableDescription asanas{
            "Asanas", {{"name"}, {"AsanaID", ColumnType::Long}, {"Disp_Type"}, {"VideoName"}}, {}};
        catalogue::CatalogueDescription description;
        formats = testing::writePictureFormats(root.filePath("video"));
        int id = 1;
        for (const VideoAsana& asana : videoAsanas) {
            ffmpeg(asana.ffmpegArgs, root.filePath(QString("video/") + asana.file));
            asanas.rows.push_back({asana.name, id, "Video", asana.file});
            description.tables.push_back(clipTable(id++, clipSeconds, false, formats));
        }
        asanas.rows.push_back({"Formats", id, "Photo", ""});
        description.tables.push_back(clipTable(id, pictureClipSeconds, true, formats));
        description.tables.insert(description.tables.begin(), asanas);
        for (const char* clip : {"clip1", "clip2"})
            ffmpeg(sound + " -t " + std::to_string(clipSeconds) + " -c:a mp2 -f mp2",
                   root.filePath(QString("sound/mp2/%1.mp2").arg(clip)));
        ffmpeg(sound + " -t " + std::to_string(pictureClipSeconds) + " -c:a mp2 -f mp2",
               root.filePath("sound/mp2/short.mp2"));
        for (const char* copy : {"hotspots/VUDuzu.mdb", "video/VUDuzu.mdb"})
            catalogue::writeCatalogue(description, root.filePath(copy).toStdString(),
                                      "Lark7meadOW");
    }
    QString resourcedir() const { return folder_.path(); }

    std::vector<testing::PictureFormat> formats;

  private:
    QTemporaryDir folder_;
};

long long videoPosition() {
    char area[50] = {};
    media::processMediaService().sendString("status video position", area, 49, 0);
    return std::atoll(area);
}

class RealWorldCourseTest : public ::testing::Test, protected testing::WithApplication {
  protected:
    static void SetUpTestSuite() { course = new RealWorldCourse; }
    static void TearDownTestSuite() { delete course; }

    RealWorldCourseTest() {
        setMessagePresenter([this](const std::string& text) { boxes.push_back(text); });
        widget.setResourcedir(course->resourcedir());
        QObject::connect(&widget, &KavoVideoSyncWidget::CurAudioNos, [this] {
            events.push_back({"CurAudioNos", clock.elapsed() / 1000.0, videoPosition()});
            pictureColours.push_back(widget.grab().toImage().pixelColor(10, 10));
        });
        QObject::connect(&widget, &KavoVideoSyncWidget::VideoEnd, [this] {
            events.push_back({"VideoEnd", clock.elapsed() / 1000.0, 0});
        });
        widget.show();
    }
    ~RealWorldCourseTest() override {
        widget.StopPlay();
        setMessagePresenter({});
    }

    void play(const char* asana) {
        widget.setAsanaNaME(asana);
        clock.start();
        widget.fileOpen();
    }
    bool ended() const { return !events.empty() && events.back().name == "VideoEnd"; }

    struct Event {
        std::string name;
        double seconds;
        long long videoFrame;
    };

    static RealWorldCourse* course;
    KavoVideoSyncWidget widget;
    QElapsedTimer clock;
    std::vector<Event> events;
    std::vector<QColor> pictureColours;
    std::vector<std::string> boxes;
};

RealWorldCourse* RealWorldCourseTest::course = nullptr;

// Clip2 starts when the video shows frame 25, 1 s in, and VideoEnd comes when it has
// spoken; the bounds are loose, for a loaded machine, but far tighter than a video whose
// frames count from its sound's start.
TEST_F(RealWorldCourseTest, EveryPlayableVideoNarratesOnTimeAndEnds) {
    for (const VideoAsana& asana : videoAsanas) {
        if (std::string(asana.name) == "Hdtv")
            continue;
        SCOPED_TRACE(asana.name);
        events.clear();
        play(asana.name);
        ASSERT_TRUE(spinUntil([&] { return ended(); })) << "no VideoEnd";
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[1].name, "CurAudioNos");
        EXPECT_GE(events[1].videoFrame, secondClipFrame);
        EXPECT_LE(events[1].videoFrame, secondClipFrame + 3);
        EXPECT_NEAR(events[1].seconds, 1.0, 0.5);
        EXPECT_NEAR(events[2].seconds - events[1].seconds, clipSeconds, 0.4);
        widget.StopPlay();
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(RealWorldCourseTest, H264InAProgramStreamIsReportedAsNotSupported) {
    play("Hdtv");
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes.front().find("video codec H.264 in an MPEG program stream is not supported"),
              std::string::npos)
        << boxes.front();
}

TEST_F(RealWorldCourseTest, APictureOfEveryFormatIsShownWithItsNarration) {
    play("Formats");
    pictureColours.clear();
    pictureColours.push_back(widget.grab().toImage().pixelColor(10, 10));
    ASSERT_TRUE(spinUntil([&] { return ended(); })) << "no VideoEnd";
    ASSERT_EQ(pictureColours.size(), course->formats.size());
    for (std::size_t i = 0; i < pictureColours.size(); ++i)
        EXPECT_TRUE(testing::nearColour(pictureColours[i], course->formats[i].colour))
            << course->formats[i].file.toStdString() << " shows "
            << pictureColours[i].name().toStdString();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

}  // namespace
}  // namespace tessaro::qt
