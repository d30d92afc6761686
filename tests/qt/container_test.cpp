// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <thread>

#include <tessaro/error.h>
#include <tessaro/message_presenter.h>
#include "qt/qt_host_container.h"
#include "qt/qt_timer.h"
#include "tests/qt/qt_test_main.h"

namespace tessaro::qt {
namespace {

class ContainerTest : public ::testing::Test, protected testing::WithApplication {
  protected:
    ~ContainerTest() override { setMessagePresenter({}); }

    // Runs the event loop until the condition holds.
    static void spinUntil(const std::function<bool()>& condition) {
        while (!condition())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QWidget window;
    std::vector<std::string> properties;
    std::vector<std::string> events;
    QtHostContainer container{window,
                              [this](std::string_view name) { properties.emplace_back(name); },
                              [this](std::string_view name) { events.emplace_back(name); }};
};

TEST_F(ContainerTest, NotificationsAndEventsReachTheHostSynchronously) {
    container.propertyChanged("TotalRec");
    container.raiseEvent("CurAudioNos");
    container.raiseEvent("VideoEnd");
    EXPECT_EQ(properties, (std::vector<std::string>{"TotalRec"}));
    EXPECT_EQ(events, (std::vector<std::string>{"CurAudioNos", "VideoEnd"}));
}

TEST_F(ContainerTest, YieldRunsPendingEventsOnce) {
    int ran = 0;
    QMetaObject::invokeMethod(
        &window, [&] { ++ran; }, Qt::QueuedConnection);
    container.yield();
    EXPECT_EQ(ran, 1);
}

TEST_F(ContainerTest, EnablingStartsTicksAndDisablingStopsThem) {
    host::Timer& timer = container.createTimer("Timer2", false, 10);
    int ticks = 0;
    timer.onTick([&] {
        if (++ticks == 3)
            timer.setEnabled(false);
    });
    timer.setEnabled(true);
    EXPECT_TRUE(timer.enabled());
    spinUntil([&] { return !timer.enabled(); });
    EXPECT_EQ(ticks, 3);
    for (const int interval : {200, 2}) {
        timer.setInterval(interval);
        EXPECT_EQ(timer.interval(), interval);
        EXPECT_EQ(window.findChild<QTimer*>("Timer2")->interval(),
                  std::max(interval, QtTimer::MinimumIntervalMs));
    }
}

TEST_F(ContainerTest, AFineTimerWithAWakePlanWaitsAsThePlanSaysAfterEachTick) {
    auto& timer = static_cast<QtTimer&>(container.createTimer("Timer1", false, 1));
    const QTimer& realised = *window.findChild<QTimer*>("Timer1");
    std::vector<int> intervalsSeen;
    timer.onTick([&] {
        intervalsSeen.push_back(realised.interval());
        if (intervalsSeen.size() == 3)
            timer.setEnabled(false);
    });
    timer.setWakePlan([] { return 30; });
    timer.setEnabled(true);
    spinUntil([&] { return !timer.enabled(); });
    EXPECT_EQ(intervalsSeen, (std::vector<int>{QtTimer::MinimumIntervalMs, 30, 30}));
    EXPECT_EQ(timer.interval(), 1);

    timer.setEnabled(true);
    EXPECT_EQ(realised.interval(), QtTimer::MinimumIntervalMs) << "an enable ticks soon";
    timer.setEnabled(false);
    timer.setInterval(200);
    timer.setEnabled(true);
    intervalsSeen.clear();
    spinUntil([&] { return !timer.enabled(); });
    EXPECT_EQ(intervalsSeen, (std::vector<int>(3, 200))) << "a slow timer keeps its interval";
}

TEST_F(ContainerTest, AWakeFromAnyThreadBringsAPlannedTickAtOnce) {
    auto& timer = static_cast<QtTimer&>(container.createTimer("Timer1", false, 1));
    const QTimer& realised = *window.findChild<QTimer*>("Timer1");
    std::vector<int> intervalsSeen;
    timer.onTick([&] {
        intervalsSeen.push_back(realised.interval());
        if (intervalsSeen.size() == 1)
            std::thread([&] { timer.wakeSoon(); }).join();
        else
            timer.setEnabled(false);
    });
    timer.setWakePlan([] { return 60'000; });
    timer.setEnabled(true);
    spinUntil([&] { return !timer.enabled(); });
    EXPECT_EQ(intervalsSeen, (std::vector<int>{QtTimer::MinimumIntervalMs, 0}));
}

TEST_F(ContainerTest, ATickNeverStartsInsideAnotherTickOfTheSameTimer) {
    host::Timer& timer = container.createTimer("Timer1", true, 1);
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    timer.onTick([&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20)
            container.yield();
        --depth;
        if (ticks == 3)
            timer.setEnabled(false);
    });
    spinUntil([&] { return !timer.enabled(); });
    EXPECT_EQ(deepest, 1);
}

TEST_F(ContainerTest, AFailureInATickIsShownAndTheTimerGoesOn) {
    std::vector<std::string> shown;
    setMessagePresenter([&](const std::string& text) { shown.push_back(text); });
    host::Timer& timer = container.createTimer("Timer1", true, 1);
    int ticks = 0;
    timer.onTick([&] {
        if (++ticks == 2)
            timer.setEnabled(false);
        throw Error(3021, "No current record.");
    });
    spinUntil([&] { return !timer.enabled(); });
    EXPECT_EQ(shown, (std::vector<std::string>(2, "Run-time error '3021':\n\nNo current record.")));
}

TEST_F(ContainerTest, TheDefaultMessageBoxIsModalOkOnlyWithoutIconTitledWithTheApplication) {
    QCoreApplication::setApplicationName("Course Player");
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    bool modal = false;
    QTimer inspector;
    QObject::connect(&inspector, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        inspector.stop();
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    inspector.start(5);
    container.messageBox("Asana not found - Tadasana");
    EXPECT_EQ(title, "Course Player");
    EXPECT_EQ(text, "Asana not found - Tadasana");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(modal);
}

TEST_F(ContainerTest, AnInstalledPresenterReplacesTheBox) {
    std::vector<std::string> shown;
    setMessagePresenter([&](const std::string& text) { shown.push_back(text); });
    container.messageBox("Asana not found - X");
    EXPECT_EQ(shown, (std::vector<std::string>{"Asana not found - X"}));
}

}  // namespace
}  // namespace tessaro::qt
