// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <tessaro/kavo_video_sync_widget.h>
#include "bench/soak/soak_host.h"

namespace tessaro::soak {

// The control as a Qt host has it: the widget on the process's services (the catalogue
// engine, GStreamer with headless sinks), time passing in Qt's event loop. A
// QApplication must exist. Message boxes are counted instead of shown.
class QtHost final : public SoakHost {
  public:
    explicit QtHost(std::string course);
    ~QtHost() override;

    KavoVideoSync& control() override { return widget_.control(); }
    const std::string& course() const override { return course_; }
    void pass(int ms) override;
    bool passUntil(const std::function<bool()>& condition, int limitMs) override;

  private:
    std::string course_;
    KavoVideoSyncWidget widget_;
};

}  // namespace tessaro::soak
