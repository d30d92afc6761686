// SPDX-License-Identifier: MIT
#include "sim/sim_container.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tessaro::sim {
namespace {

class SimContainerTest : public ::testing::Test {
  protected:
    VirtualClock clock;
    SimContainer container{clock};

    // A timer whose ticks are recorded as the clock times they ran at.
    SimTimer& recordingTimer(const char* name, bool enabled, int interval,
                             std::vector<std::int64_t>& ticks) {
        host::Timer& timer = container.createTimer(name, enabled, interval);
        timer.onTick([this, &ticks] { ticks.push_back(clock.nowMs()); });
        return container.timer(name);
    }
};

TEST_F(SimContainerTest, ChildControlsKeepCreationOrderGeometryAndDistinctHandles) {
    container.createPictureBox("Picture2", 0, 4305, 5280, 15);
    container.createTimer("Timer2", false, 10);
    container.createPictureBox("Picture1", 0, 0, 5280, 4320);
    container.createTimer("Timer1", false, 1);

    EXPECT_EQ(container.childNames(),
              (std::vector<std::string>{"Picture2", "Timer2", "Picture1", "Timer1"}));
    const SimPictureBox& strip = container.pictureBox("Picture2");
    EXPECT_EQ(strip.left(), 0);
    EXPECT_EQ(strip.top(), 4305);
    EXPECT_EQ(strip.width(), 5280);
    EXPECT_EQ(strip.height(), 15);
    const std::intptr_t h1 = container.pictureBox("Picture1").windowHandle();
    const std::intptr_t h2 = strip.windowHandle();
    EXPECT_NE(h1, 0);
    EXPECT_NE(h2, 0);
    EXPECT_NE(h1, h2);
    EXPECT_EQ(container.timer("Timer2").interval(), 10);
    EXPECT_FALSE(container.timer("Timer1").enabled());
}

struct TimerCase {
    const char* what;
    int interval;
    std::int64_t enableAt;   // -1: never enabled
    std::int64_t disableAt;  // -1: never disabled
    std::int64_t runFor;
    std::vector<std::int64_t> ticks;
};

void PrintTo(const TimerCase& c, std::ostream* os) {
    *os << c.what;
}

class SimTimerFiring : public SimContainerTest, public ::testing::WithParamInterface<TimerCase> {};

TEST_P(SimTimerFiring, FiresWhenItsIntervalHasElapsedSinceEnabledOrLastFired) {
    const TimerCase& c = GetParam();
    std::vector<std::int64_t> ticks;
    SimTimer& timer = recordingTimer("T", false, c.interval, ticks);
    for (std::int64_t t = 0; t < c.runFor; ++t) {
        if (t == c.enableAt)
            timer.setEnabled(true);
        if (t == c.disableAt)
            timer.setEnabled(false);
        container.advance(1);
    }
    EXPECT_EQ(ticks, c.ticks) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimTimerFiring,
    ::testing::Values(TimerCase{"10 ms from 0", 10, 0, -1, 35, {10, 20, 30}},
                      TimerCase{"1 ms fires every step", 1, 0, -1, 4, {1, 2, 3, 4}},
                      TimerCase{"enabling later restarts the interval", 10, 5, -1, 30, {15, 25}},
                      TimerCase{"disabled timers stay silent", 10, -1, -1, 50, {}},
                      TimerCase{"disabling stops it", 10, 0, 25, 50, {10, 20}}));

TEST_F(SimContainerTest, YieldRunsOnlyWhatIsDueNowAndOnlyOnce) {
    std::vector<std::int64_t> ticks;
    SimTimer& timer = recordingTimer("T", true, 5, ticks);
    container.yield();
    EXPECT_TRUE(ticks.empty());
    clock.advanceTo(5);
    container.yield();
    container.yield();
    EXPECT_EQ(ticks, std::vector<std::int64_t>{5});
    EXPECT_EQ(timer.tickCount(), 1);
}

TEST_F(SimContainerTest, ATickMayEnableAnotherTimerAndPumpTheClockItself) {
    std::vector<std::int64_t> slowTicks;
    SimTimer& slow = recordingTimer("Slow", false, 3, slowTicks);
    host::Timer& starter = container.createTimer("Starter", true, 2);
    starter.onTick([&] {
        starter.setEnabled(false);
        slow.setEnabled(true);
        container.advance(7);  // a modal box that lets messages run
    });
    container.advance(10);  // the outer call still ends at 10 ms
    EXPECT_EQ(slowTicks, (std::vector<std::int64_t>{5, 8}));
    EXPECT_EQ(clock.nowMs(), 10);
}

TEST_F(SimContainerTest, RecordsWhatTheControlToldItInOrderAndRunsHandlersInside) {
    std::vector<std::string> seenInsideHandler;
    container.onEvent("CurAudioNos", [&] {
        seenInsideHandler.push_back("handler");
        container.propertyChanged("TotalRec");
    });
    container.onMessageBox([&](std::string_view text) { seenInsideHandler.emplace_back(text); });

    container.propertyChanged("AsanaNaME");
    container.raiseEvent("CurAudioNos");
    container.messageBox("Asana not found - X");
    container.raiseEvent("VideoEnd");

    std::vector<std::string> log;
    for (const HostRecord& r : container.records())
        log.push_back(describe(r));
    EXPECT_EQ(log, (std::vector<std::string>{"property AsanaNaME", "event CurAudioNos",
                                             "property TotalRec", "message Asana not found - X",
                                             "event VideoEnd"}));
    EXPECT_EQ(seenInsideHandler, (std::vector<std::string>{"handler", "Asana not found - X"}));
    EXPECT_EQ(container.events(), (std::vector<std::string>{"CurAudioNos", "VideoEnd"}));
}

TEST_F(SimContainerTest, RunUntilStopsAsSoonAsThePredicateHoldsOrAtTheLimit) {
    EXPECT_TRUE(container.runUntil([&] { return clock.nowMs() >= 7; }, 100));
    EXPECT_EQ(clock.nowMs(), 7);
    EXPECT_FALSE(container.runUntil([] { return false; }, 20));
    EXPECT_EQ(clock.nowMs(), 27);
}

}  // namespace
}  // namespace tessaro::sim
