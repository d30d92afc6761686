// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tessaro/host_container.h>
#include "sim/sim_picture_loader.h"
#include "sim/virtual_clock.h"

namespace tessaro::sim {

class SimPictureBox : public host::PictureBox {
  public:
    SimPictureBox(std::string name, std::intptr_t handle, int left, int top, int width, int height);

    std::intptr_t windowHandle() const override { return handle_; }
    const host::Picture& picture() const override { return picture_; }
    void setPicture(const host::Picture& picture) override { picture_ = picture; }
    int top() const override { return top_; }
    void setTop(int twips) override { top_ = twips; }

    const std::string& name() const { return name_; }
    int left() const { return left_; }
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    std::string name_;
    std::intptr_t handle_;
    int left_;
    int top_;
    int width_;
    int height_;
    host::Picture picture_;
};

// A timer on the virtual clock: due once its interval has elapsed since it was enabled
// or last fired.
class SimTimer : public host::Timer {
  public:
    SimTimer(std::string name, bool enabled, int intervalMs, VirtualClock& clock);

    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    int interval() const override { return intervalMs_; }
    void setInterval(int milliseconds) override { intervalMs_ = milliseconds; }
    void onTick(std::function<void()> tick) override { tick_ = std::move(tick); }

    const std::string& name() const { return name_; }
    // How many times the tick has been started.
    int tickCount() const { return tickCount_; }
    bool isDue() const;
    void fire();

  private:
    std::string name_;
    bool enabled_;
    int intervalMs_;
    VirtualClock& clock_;
    std::int64_t sinceMs_;
    std::function<void()> tick_;
    int tickCount_ = 0;
};

// What the control showed or told its host, in the order it happened.
struct HostRecord {
    enum class Kind { MessageBox, PropertyChanged, Event };
    Kind kind;
    std::string text;
    std::int64_t atMs;

    bool operator==(const HostRecord&) const = default;
};

// "event CurAudioNos", "property TotalRec", "message Asana not found - X".
std::string describe(const HostRecord& record);

// The host window on a virtual clock. Time moves only when a test calls advance or
// runUntil; timers fire as it moves, in creation order within one millisecond. Message
// boxes close at once (after their handler, when one is installed).
class SimContainer : public host::HostContainer {
  public:
    explicit SimContainer(VirtualClock& clock);
    ~SimContainer() override;

    host::PictureBox& createPictureBox(std::string_view name, int left, int top, int width,
                                       int height) override;
    host::Timer& createTimer(std::string_view name, bool enabled, int intervalMs) override;
    void yield() override;
    void messageBox(std::string_view text) override;
    void propertyChanged(std::string_view name) override;
    void raiseEvent(std::string_view name) override;
    host::PictureLoader& pictureLoader() override { return pictures_; }

    // Moves the clock forward ms milliseconds, one at a time, firing the due timers at
    // each. May be called from inside a handler or tick (a message loop that pumps).
    void advance(std::int64_t ms);
    // Moves the clock until the predicate holds (checked before each step) or limitMs
    // have passed; returns the predicate's last value.
    bool runUntil(const std::function<bool()>& predicate, std::int64_t limitMs);

    // Host handlers: run synchronously inside raiseEvent / messageBox.
    void onEvent(std::string_view name, std::function<void()> handler);
    void onMessageBox(std::function<void(std::string_view text)> handler);

    const std::vector<HostRecord>& records() const { return records_; }
    // The records of one kind, as their texts.
    std::vector<std::string> texts(HostRecord::Kind kind) const;
    std::vector<std::string> events() const { return texts(HostRecord::Kind::Event); }
    void clearRecords() { records_.clear(); }

    const std::vector<std::unique_ptr<SimPictureBox>>& pictureBoxes() const { return boxes_; }
    const std::vector<std::unique_ptr<SimTimer>>& timers() const { return timers_; }
    // Child controls in creation order, as "Picture2", "Timer2", ...
    std::vector<std::string> childNames() const { return childNames_; }
    SimPictureBox& pictureBox(std::string_view name) const;
    SimTimer& timer(std::string_view name) const;
    SimPictureLoader& pictures() { return pictures_; }
    VirtualClock& clock() { return clock_; }

  private:
    void fireDueTimers();
    void record(HostRecord::Kind kind, std::string_view text);

    VirtualClock& clock_;
    SimPictureLoader pictures_;
    std::vector<std::unique_ptr<SimPictureBox>> boxes_;
    std::vector<std::unique_ptr<SimTimer>> timers_;
    std::vector<std::string> childNames_;
    std::intptr_t nextHandle_ = 0x1001;
    std::vector<HostRecord> records_;
    std::map<std::string, std::function<void()>, std::less<>> eventHandlers_;
    std::function<void(std::string_view)> messageBoxHandler_;
};

}  // namespace tessaro::sim
