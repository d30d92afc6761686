// SPDX-License-Identifier: MIT
#include "sim/sim_container.h"

#include <algorithm>

#include <tessaro/error.h>

namespace tessaro::sim {

SimPictureBox::SimPictureBox(std::string name, std::intptr_t handle, int left, int top, int width,
                             int height)
    : name_(std::move(name)),
      handle_(handle),
      left_(left),
      top_(top),
      width_(width),
      height_(height) {}

SimTimer::SimTimer(std::string name, bool enabled, int intervalMs, VirtualClock& clock)
    : name_(std::move(name)),
      enabled_(enabled),
      intervalMs_(intervalMs),
      clock_(clock),
      sinceMs_(clock.nowMs()) {}

void SimTimer::setEnabled(bool enabled) {
    if (enabled)
        sinceMs_ = clock_.nowMs();
    enabled_ = enabled;
}

bool SimTimer::isDue() const {
    return enabled_ && clock_.nowMs() - sinceMs_ >= std::max(intervalMs_, 1);
}

void SimTimer::fire() {
    sinceMs_ = clock_.nowMs();
    ++tickCount_;
    if (tick_)
        tick_();
}

std::string describe(const HostRecord& record) {
    switch (record.kind) {
        case HostRecord::Kind::MessageBox:
            return "message " + record.text;
        case HostRecord::Kind::PropertyChanged:
            return "property " + record.text;
        case HostRecord::Kind::Event:
            break;
    }
    return "event " + record.text;
}

SimContainer::SimContainer(VirtualClock& clock) : clock_(clock) {}

SimContainer::~SimContainer() = default;

host::PictureBox& SimContainer::createPictureBox(std::string_view name, int left, int top,
                                                 int width, int height) {
    boxes_.push_back(std::make_unique<SimPictureBox>(std::string(name), nextHandle_++, left, top,
                                                     width, height));
    childNames_.emplace_back(name);
    return *boxes_.back();
}

host::Timer& SimContainer::createTimer(std::string_view name, bool enabled, int intervalMs) {
    timers_.push_back(std::make_unique<SimTimer>(std::string(name), enabled, intervalMs, clock_));
    childNames_.emplace_back(name);
    return *timers_.back();
}

void SimContainer::yield() {
    fireDueTimers();
}

void SimContainer::messageBox(std::string_view text) {
    record(HostRecord::Kind::MessageBox, text);
    if (messageBoxHandler_)
        messageBoxHandler_(text);
}

void SimContainer::propertyChanged(std::string_view name) {
    record(HostRecord::Kind::PropertyChanged, name);
}

void SimContainer::raiseEvent(std::string_view name) {
    record(HostRecord::Kind::Event, name);
    const auto handler = eventHandlers_.find(name);
    if (handler != eventHandlers_.end())
        handler->second();
}

void SimContainer::advance(std::int64_t ms) {
    const std::int64_t target = clock_.nowMs() + ms;
    while (clock_.nowMs() < target) {
        clock_.advanceTo(clock_.nowMs() + 1);
        fireDueTimers();
    }
}

bool SimContainer::runUntil(const std::function<bool()>& predicate, std::int64_t limitMs) {
    const std::int64_t limit = clock_.nowMs() + limitMs;
    while (!predicate()) {
        if (clock_.nowMs() >= limit)
            return false;
        advance(1);
    }
    return true;
}

void SimContainer::onEvent(std::string_view name, std::function<void()> handler) {
    eventHandlers_[std::string(name)] = std::move(handler);
}

void SimContainer::onMessageBox(std::function<void(std::string_view text)> handler) {
    messageBoxHandler_ = std::move(handler);
}

std::vector<std::string> SimContainer::texts(HostRecord::Kind kind) const {
    std::vector<std::string> result;
    for (const HostRecord& r : records_)
        if (r.kind == kind)
            result.push_back(r.text);
    return result;
}

SimPictureBox& SimContainer::pictureBox(std::string_view name) const {
    for (const auto& box : boxes_)
        if (box->name() == name)
            return *box;
    throw Error(0, "no picture box named " + std::string(name));
}

SimTimer& SimContainer::timer(std::string_view name) const {
    for (const auto& timer : timers_)
        if (timer->name() == name)
            return *timer;
    throw Error(0, "no timer named " + std::string(name));
}

// Timers are looked up by index: a tick may create nothing, but it may enable or disable
// any timer, and each is tested when its turn comes.
void SimContainer::fireDueTimers() {
    for (std::size_t i = 0; i < timers_.size(); ++i)
        if (timers_[i]->isDue())
            timers_[i]->fire();
}

void SimContainer::record(HostRecord::Kind kind, std::string_view text) {
    records_.push_back({kind, std::string(text), clock_.nowMs()});
}

}  // namespace tessaro::sim
