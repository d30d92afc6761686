// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include <tessaro/module_folder.h>
#include "bench/soak/soak_host.h"
#include "platform/media/interpreter.h"
#include "sim/fixed_module_folder.h"
#include "sim/sim_backend.h"
#include "sim/sim_container.h"
#include "sim/virtual_clock.h"

namespace tessaro::soak {

// The control on the virtual clock over the real catalogue engine and the media
// interpreter on the sim backend, with the course's media declared at their real lengths
// (measured once with ffprobe) and its pictures declared to the sim picture loader.
class VirtualHost final : public SoakHost {
  public:
    explicit VirtualHost(std::string course);

    KavoVideoSync& control() override { return control_; }
    const std::string& course() const override { return course_; }
    void pass(int ms) override;
    bool passUntil(const std::function<bool()>& condition, int limitMs) override;

  private:
    void declareCourse(media::SimBackend& backend);

    std::string course_;
    sim::VirtualClock clock_;
    sim::SimContainer container_{clock_};
    media::Interpreter interpreter_;
    host::FixedModuleFolder courseFolder_{course_};
    KavoVideoSync control_;
};

}  // namespace tessaro::soak
