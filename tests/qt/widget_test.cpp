// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <map>

#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/message_presenter.h>
#include "platform/media/video_surface.h"
#include "qt/qt_picture_box.h"
#include "qt/qt_timer.h"
#include "tests/qt/qt_test_main.h"
#include "tests/qt/stub_services.h"

namespace tessaro::qt {
namespace {

using testing::StubServices;

class WidgetTest : public ::testing::Test, protected testing::WithApplication {
  protected:
    WidgetTest() {
        setMessagePresenter([this](const std::string& text) { messages.push_back(text); });
    }
    ~WidgetTest() override { setMessagePresenter({}); }

    QtPictureBox& box(const char* name) { return *widget.findChild<QtPictureBox*>(name); }
    QTimer& timer(const char* name) { return *widget.findChild<QTimer*>(name); }

    StubServices stubs;
    KavoVideoSyncWidget widget{stubs.services()};
    std::vector<std::string> messages;
};

TEST_F(WidgetTest, ChildControlsAreCreatedInOrderAsChildrenOfTheWidget) {
    std::vector<QString> names;
    for (QObject* child : widget.children())
        if (qobject_cast<QtPictureBox*>(child) || qobject_cast<QTimer*>(child))
            names.push_back(child->objectName());
    EXPECT_EQ(names, (std::vector<QString>{"Picture2", "Timer2", "Picture1", "Timer1"}));
}

TEST_F(WidgetTest, GeometryIsTheTwipLayoutAtFifteenTwipsPerPixel) {
    EXPECT_EQ(widget.size(), QSize(352, 288));
    EXPECT_EQ(widget.sizeHint(), QSize(352, 288));
    EXPECT_EQ(box("Picture1").geometry(), QRect(0, 0, 352, 288));
    EXPECT_EQ(box("Picture2").geometry(), QRect(0, 287, 352, 1));
    EXPECT_EQ(box("Picture1").top(), 0);
    EXPECT_EQ(box("Picture2").top(), 4305);
}

TEST_F(WidgetTest, SettingTopKeepsTwipsAndMovesByPixels) {
    box("Picture2").setTop(287);
    EXPECT_EQ(box("Picture2").top(), 287);
    EXPECT_EQ(box("Picture2").geometry(), QRect(0, 19, 352, 1));
}

TEST_F(WidgetTest, TimersArePreciseDisabledWithTheirIntervalsRealisedNoShorterThanTheFloor) {
    struct Expected {
        const char* name;
        host::Timer& control;
        int interval;
        int realised;
    };
    for (const Expected& expected :
         {Expected{"Timer2", widget.control().Timer2(), 10, 10},
          Expected{"Timer1", widget.control().Timer1(), 1, QtTimer::MinimumIntervalMs}}) {
        SCOPED_TRACE(expected.name);
        EXPECT_FALSE(timer(expected.name).isActive());
        EXPECT_EQ(expected.control.interval(), expected.interval);
        EXPECT_EQ(timer(expected.name).interval(), expected.realised);
        EXPECT_EQ(timer(expected.name).timerType(), Qt::PreciseTimer);
    }
    EXPECT_EQ(&widget.control().Timer1(), &widget.control().Timer1());
}

TEST_F(WidgetTest, PictureBoxesHaveDistinctPositiveHandlesRegisteredAsVideoSurfaces) {
    const std::intptr_t picture1 = widget.control().Picture1().windowHandle();
    const std::intptr_t picture2 = widget.control().Picture2().windowHandle();
    EXPECT_GT(picture1, 0);
    EXPECT_GT(picture2, 0);
    EXPECT_NE(picture1, picture2);
    EXPECT_LE(picture1, std::intptr_t{INT32_MAX});
    media::VideoSurface* found = nullptr;
    media::withVideoSurface(picture1, [&](media::VideoSurface& surface) { found = &surface; });
    EXPECT_EQ(found, static_cast<media::VideoSurface*>(&box("Picture1")));
}

TEST_F(WidgetTest, FreshControlHasTheDefaults) {
    EXPECT_EQ(widget.property("Resourcedir").toString(), "0");
    EXPECT_EQ(widget.property("AsanaNaME").toString(), "0");
    EXPECT_EQ(widget.property("TotalRec").toInt(), 0);
}

TEST_F(WidgetTest, EveryAssignmentNotifiesItsPropertyOnlyAlsoWithAnUnchangedValue) {
    std::map<std::string, int> notified;
    QObject::connect(&widget, &KavoVideoSyncWidget::ResourcedirChanged,
                     [&] { ++notified["Resourcedir"]; });
    QObject::connect(&widget, &KavoVideoSyncWidget::AsanaNaMEChanged,
                     [&] { ++notified["AsanaNaME"]; });
    QObject::connect(&widget, &KavoVideoSyncWidget::TotalRecChanged,
                     [&] { ++notified["TotalRec"]; });
    struct Assignment {
        const char* property;
        QVariant value;
    };
    for (const Assignment& assignment :
         {Assignment{"Resourcedir", "/media/course"}, Assignment{"AsanaNaME", "Tadasana"},
          Assignment{"TotalRec", -32768}}) {
        SCOPED_TRACE(assignment.property);
        notified.clear();
        ASSERT_TRUE(widget.setProperty(assignment.property, assignment.value));
        ASSERT_TRUE(widget.setProperty(assignment.property, assignment.value));
        EXPECT_EQ(notified, (std::map<std::string, int>{{assignment.property, 2}}));
        EXPECT_EQ(widget.property(assignment.property), assignment.value);
    }
}

TEST_F(WidgetTest, TotalRecOutsideSixteenBitsIsRefusedWithoutNotification) {
    widget.setTotalRec(32767);
    int notified = 0;
    QObject::connect(&widget, &KavoVideoSyncWidget::TotalRecChanged, [&] { ++notified; });
    for (int refused : {32768, -32769, 100000}) {
        widget.setProperty("TotalRec", refused);
        EXPECT_EQ(widget.TotalRec(), 32767) << refused;
    }
    EXPECT_EQ(notified, 0);
}

class PersistenceTest : public WidgetTest {
  protected:
    QTemporaryDir folder;
    QSettings settings{folder.filePath("window.ini"), QSettings::IniFormat};
};

TEST_F(PersistenceTest, DefaultsAreNotStored) {
    widget.writeSettings(settings, "kavo1");
    settings.sync();
    EXPECT_TRUE(settings.allKeys().isEmpty());
}

TEST_F(PersistenceTest, ChangedValuesRoundTripThroughTheIniFile) {
    widget.setResourcedir("C:\\Course");
    widget.setAsanaNaME("Vrksasana");
    widget.setTotalRec(-7);
    widget.writeSettings(settings, "kavo1");
    settings.sync();

    QSettings reread(folder.filePath("window.ini"), QSettings::IniFormat);
    EXPECT_EQ(reread.value("kavo1/Resourcedir").toString(), "C:\\Course");
    StubServices otherStubs;
    KavoVideoSyncWidget restored(otherStubs.services());
    restored.readSettings(reread, "kavo1");
    EXPECT_EQ(restored.Resourcedir(), "C:\\Course");
    EXPECT_EQ(restored.AsanaNaME(), "Vrksasana");
    EXPECT_EQ(restored.TotalRec(), -7);
}

TEST_F(PersistenceTest, AValueSetBackToItsDefaultIsRemoved) {
    widget.setAsanaNaME("Vrksasana");
    widget.setTotalRec(3);
    widget.writeSettings(settings, "kavo1");
    widget.setAsanaNaME("0");
    widget.setTotalRec(0);
    widget.writeSettings(settings, "kavo1");
    EXPECT_TRUE(settings.allKeys().isEmpty()) << settings.allKeys().join(",").toStdString();
}

TEST_F(PersistenceTest, MissingKeysReadAsDefaultsAndGroupsStayApart) {
    settings.setValue("kavo1/AsanaNaME", "Tadasana");
    settings.setValue("kavo2/TotalRec", 12);
    widget.readSettings(settings, "kavo1");
    EXPECT_EQ(widget.Resourcedir(), "0");
    EXPECT_EQ(widget.AsanaNaME(), "Tadasana");
    EXPECT_EQ(widget.TotalRec(), 0);
}

TEST_F(PersistenceTest, AStoredTotalRecThatIsNoNumberFailsToTheHost) {
    settings.setValue("kavo1/TotalRec", "many");
    try {
        widget.readSettings(settings, "kavo1");
        FAIL() << "read succeeded";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errors::TypeMismatch);
    }
}

// InitVideo without a looked-up asana fails: it has no recordset to read.
class ErrorRoutingTest : public WidgetTest {};

TEST_F(ErrorRoutingTest, ADirectCallerGetsTheError) {
    EXPECT_THROW(widget.InitVideo(), Error);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ErrorRoutingTest, AQueuedCallReportsByControlErrorInsteadOfThrowingIntoTheLoop) {
    std::vector<int> reported;
    QObject::connect(&widget, &KavoVideoSyncWidget::controlError,
                     [&](int number, const QString&) { reported.push_back(number); });
    QMetaObject::invokeMethod(&widget, "InitVideo", Qt::QueuedConnection);
    QCoreApplication::processEvents();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0], 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ErrorRoutingTest, ASignalConnectedToTheWidgetWithNoErrorReceiverShowsAMessage) {
    QAction action;
    QObject::connect(&action, &QAction::triggered, &widget, &KavoVideoSyncWidget::InitVideo);
    action.trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Run-time error '", 0), 0u) << messages[0];
}

TEST_F(ErrorRoutingTest, MethodsThatNeverFailDoNotThrow) {
    EXPECT_NO_THROW(widget.fileOpen());
    EXPECT_NO_THROW(widget.StopPlay());
    ASSERT_FALSE(stubs.media.commands.empty());
    EXPECT_EQ(stubs.media.commands.front(), "close all");
}

}  // namespace
}  // namespace tessaro::qt
