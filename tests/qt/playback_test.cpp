// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <iostream>
#include <string>
#include <vector>

#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/message_presenter.h>
#include "qt/qt_picture_box.h"
#include "tests/qt/qt_test_main.h"
#include "tests/qt/test_course.h"

namespace tessaro::qt {
namespace {

using testing::spinUntil;

enum class Colour { None, Red, Green, Blue };

// The dominant colour at the centre of Picture1 as the widget shows it now.
Colour shownColour(KavoVideoSyncWidget& widget) {
    const QColor pixel = widget.grab().toImage().pixelColor(176, 144);
    if (pixel.red() > 180 && pixel.green() < 90 && pixel.blue() < 90)
        return Colour::Red;
    if (pixel.green() > 180 && pixel.red() < 90 && pixel.blue() < 90)
        return Colour::Green;
    if (pixel.blue() > 150 && pixel.red() < 90 && pixel.green() < 90)
        return Colour::Blue;
    return Colour::None;
}

// The real control on the process's services (the Jet catalogue, GStreamer with
// headless sinks), playing the generated course.
class PlaybackTest : public ::testing::Test, protected testing::WithApplication {
  protected:
    PlaybackTest() {
        setMessagePresenter([this](const std::string& text) {
            std::cerr << "message: " << text << "\n";
            messages.push_back(text);
        });
        widget.setResourcedir(course.resourcedir());
        QObject::connect(&widget, &KavoVideoSyncWidget::CurAudioNos, [this] {
            events.push_back("CurAudioNos");
            coloursAtNarration.push_back(shownColour(widget));
        });
        QObject::connect(&widget, &KavoVideoSyncWidget::VideoEnd,
                         [this] { events.push_back("VideoEnd"); });
        widget.show();
    }
    ~PlaybackTest() override {
        widget.StopPlay();
        setMessagePresenter({});
    }

    bool ended() const { return !events.empty() && events.back() == "VideoEnd"; }

    testing::TestCourse course;
    KavoVideoSyncWidget widget;
    std::vector<std::string> events;
    std::vector<Colour> coloursAtNarration;
    std::vector<std::string> messages;
};

TEST_F(PlaybackTest, AVideoAsanaNarratesInOrderAndDrawsItsFramesInPicture1) {
    widget.setAsanaNaME("Tadasana");
    widget.fileOpen();
    ASSERT_TRUE(spinUntil([&] { return ended(); })) << "no VideoEnd";

    EXPECT_EQ(events, (std::vector<std::string>{"CurAudioNos", "CurAudioNos", "VideoEnd"}));
    ASSERT_EQ(coloursAtNarration.size(), 2u);
    EXPECT_EQ(coloursAtNarration[1], Colour::Blue) << "no video frame when clip2 started";
    auto* picture1 = widget.findChild<QtPictureBox*>("Picture1");
    EXPECT_FALSE(picture1->currentFrame().isNull());
    EXPECT_EQ(picture1->currentFrame().size(), QSize(352, 288));
    EXPECT_EQ(widget.TotalRec(), 4);
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(PlaybackTest, APictureAsanaShowsEachPictureInPicture1WithItsNarration) {
    widget.setAsanaNaME("Vrksasana");
    widget.fileOpen();
    EXPECT_EQ(shownColour(widget), Colour::Red);
    ASSERT_TRUE(spinUntil([&] { return ended(); })) << "no VideoEnd";

    EXPECT_EQ(events, (std::vector<std::string>{"CurAudioNos", "CurAudioNos", "VideoEnd"}));
    EXPECT_EQ(coloursAtNarration, (std::vector<Colour>{Colour::None, Colour::Green}));
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(PlaybackTest, AnUnknownAsanaIsReportedThroughTheMessagePresenter) {
    widget.setAsanaNaME("Nosuchasana");
    widget.fileOpen();
    EXPECT_EQ(messages, (std::vector<std::string>{"Asana not found - Nosuchasana"}));
    EXPECT_TRUE(events.empty());
}

TEST_F(PlaybackTest, StoppingAVideoTakesItsFrameOutOfPicture1) {
    widget.setAsanaNaME("Tadasana");
    widget.fileOpen();
    auto* picture1 = widget.findChild<QtPictureBox*>("Picture1");
    ASSERT_TRUE(spinUntil([&] { return !picture1->currentFrame().isNull(); }));
    widget.StopPlay();
    EXPECT_TRUE(spinUntil([&] { return picture1->currentFrame().isNull(); }));
}

}  // namespace
}  // namespace tessaro::qt
