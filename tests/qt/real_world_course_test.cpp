// SPDX-License-Identifier: MIT
// A course of media as people have them, played by the real control: videos written the
// way capture tools and encoders write them, and pictures in every format a course made on
// Windows may hold.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>
#include <vector>

#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/message_presenter.h>
#include "platform/media/gst/gst_backend.h"
#include "tests/qt/qt_test_main.h"
#include "tests/qt/real_world_course.h"
#include "tests/qt/test_course.h"

namespace tessaro::qt {
namespace {

using testing::ClipSeconds;
using testing::RealWorldCourse;
using testing::SecondClipFrame;
using testing::spinUntil;

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
            events.push_back({"CurAudioNos", videoPosition()});
            pictureColours.push_back(widget.grab().toImage().pixelColor(10, 10));
        });
        QObject::connect(&widget, &KavoVideoSyncWidget::VideoEnd, [this] {
            events.push_back({"VideoEnd", videoPosition()});
        });
        widget.show();
    }
    ~RealWorldCourseTest() override {
        widget.StopPlay();
        setMessagePresenter({});
    }

    void play(const char* asana) {
        widget.setAsanaNaME(asana);
        widget.fileOpen();
    }
    bool ended() const { return !events.empty() && events.back().name == "VideoEnd"; }

    struct Event {
        std::string name;
        // The video's position as the event is raised.
        long long videoFrame;
    };

    static RealWorldCourse* course;
    KavoVideoSyncWidget widget;
    std::vector<Event> events;
    std::vector<QColor> pictureColours;
    std::vector<std::string> boxes;
};

RealWorldCourse* RealWorldCourseTest::course = nullptr;

// Clip2 starts when the video shows frame 25, and VideoEnd comes when it has spoken, 0.6 s
// (15 frames) later on the video's own clock; a few frames' slack for a loaded machine.
TEST_F(RealWorldCourseTest, EveryPlayableVideoNarratesOnTimeAndEnds) {
    for (const testing::VideoAsana& asana : testing::realWorldVideos()) {
        if (std::string(asana.name) == "Hdtv")
            continue;
        SCOPED_TRACE(asana.name);
        events.clear();
        play(asana.name);
        ASSERT_TRUE(spinUntil([&] { return ended(); })) << "no VideoEnd";
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[1].name, "CurAudioNos");
        EXPECT_GE(events[1].videoFrame, SecondClipFrame);
        EXPECT_LE(events[1].videoFrame, SecondClipFrame + 3);
        const auto spokenFrames = static_cast<long long>(ClipSeconds * 25);
        EXPECT_GE(events[2].videoFrame, SecondClipFrame + spokenFrames - 4);
        EXPECT_LE(events[2].videoFrame, SecondClipFrame + spokenFrames + 6);
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
    ASSERT_EQ(pictureColours.size(), course->formats().size());
    for (std::size_t i = 0; i < pictureColours.size(); ++i)
        EXPECT_TRUE(testing::nearColour(pictureColours[i], course->formats()[i].colour))
            << course->formats()[i].file.toStdString() << " shows "
            << pictureColours[i].name().toStdString();
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

}  // namespace
}  // namespace tessaro::qt
