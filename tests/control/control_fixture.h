// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <tessaro/catalogue.h>
#include <tessaro/kavo_video_sync.h>
#include "control/kavo_video_sync_fields.h"
#include "platform/media/interpreter.h"
#include "sim/fixed_module_folder.h"
#include "sim/recording_command_service.h"
#include "sim/sim_backend.h"
#include "sim/sim_container.h"
#include "tests/control/course.h"

namespace tessaro::testing {

// A control on the virtual clock, its media on the sim backend through the real
// interpreter, its catalogue a real file below a temporary Resourcedir.
class ControlTest : public ::testing::Test {
  protected:
    ControlTest();

    // Writes the catalogue, sets Resourcedir and AsanaNaME and calls fileOpen with the
    // records and commands cleared first.
    void open(const std::string& name);
    void write(const std::vector<Asana>& asanas, const std::string& password = CataloguePassword) {
        course.write(asanas, backend, container.pictures(), password);
    }

    // Runs the clock until VideoEnd has been raised (true) or limitMs have passed.
    bool runUntilVideoEnd(std::int64_t limitMs = 60000);
    int count(const std::string& event) const;
    // The commands sent since the last clear, queries left out.
    std::vector<std::string> executed() const { return commands.executed(); }
    // The video's position in frames and mode, asked of the service directly.
    double videoFrame();
    std::string videoMode();

    std::string videoOpen(const std::string& video) const;
    std::string narrationOpen(const std::string& clip) const;
    // What fileOpen sends for a video asana up to its playback start.
    std::vector<std::string> lookupAndStart(const std::string& video,
                                            const std::string& clip) const;

    const KavoVideoSyncFields& state() const { return control.state(); }

    sim::VirtualClock clock;
    sim::SimContainer container{clock};
    std::unique_ptr<media::SimBackend> ownedBackend = std::make_unique<media::SimBackend>(clock);
    media::SimBackend& backend = *ownedBackend;
    media::Interpreter interpreter{std::move(ownedBackend)};
    sim::RecordingCommandService commands{interpreter};
    std::vector<std::string> errorBoxes;
    Course course;
    host::FixedModuleFolder moduleFolder{course.root()};
    KavoVideoSync control{{catalogue::processEngine(), commands, container, moduleFolder}};
};

// Three clips: due at frames 0, 25 (1 s) and 50 (2 s), each speaking 300 ms.
Asana threeClipAsana(const std::string& name = "Tree", int id = 3);

}  // namespace tessaro::testing
