// SPDX-License-Identifier: MIT
#include "tests/control/control_fixture.h"
#include "platform/media/reply_reading.h"

#include <algorithm>

namespace tessaro::testing {

ControlTest::ControlTest() {
    interpreter.setErrorReporter(
        [this](const std::string& message) { errorBoxes.push_back(message); });
    control.InitProperties();
}

void ControlTest::open(const std::string& name) {
    control.Resourcedir(course.root());
    control.AsanaNaME(name);
    container.clearRecords();
    commands.clear();
    control.fileOpen();
}

bool ControlTest::runUntilVideoEnd(std::int64_t limitMs) {
    return container.runUntil([this] { return count("VideoEnd") > 0; }, limitMs);
}

int ControlTest::count(const std::string& event) const {
    const std::vector<std::string> events = container.events();
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

double ControlTest::videoFrame() {
    char reply[50] = {};
    interpreter.sendString("status video position", reply, sizeof reply, 0);
    return media::readPositionReply(reply, sizeof reply);
}

std::string ControlTest::videoMode() {
    char reply[50] = {};
    interpreter.sendString("status video mode", reply, sizeof reply, 0);
    return media::readModeReply(reply, sizeof reply);
}

std::string ControlTest::videoOpen(const std::string& video) const {
    return "open " + course.root() + "\\video\\" + video +
           "  alias video type mpegVideo  style child parent  " +
           std::to_string(control.Picture1().windowHandle());
}

std::string ControlTest::narrationOpen(const std::string& clip) const {
    return "open " + course.root() + "\\sound\\mp2\\" + clip + ".mp2 alias Sound type mpegVideo";
}

std::vector<std::string> ControlTest::lookupAndStart(const std::string& video,
                                                     const std::string& clip) const {
    return {"close all",         videoOpen(video), "set video time format frames",
            narrationOpen(clip), "play video",     "pause video",
            "play sound",        "play video"};
}

Asana threeClipAsana(const std::string& name, int id) {
    return videoAsana(name, id, name + ".mpg", {{"t1", 0, 300}, {"t2", 25, 300}, {"t3", 50, 300}},
                      5000);
}

}  // namespace tessaro::testing
