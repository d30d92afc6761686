// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tessaro/catalogue.h>
#include <tessaro/kavo_video_sync.h>
#include <tessaro/module_folder.h>
#include "platform/media/interpreter.h"
#include "sim/fixed_module_folder.h"
#include "sim/recording_command_service.h"
#include "sim/sim_backend.h"
#include "sim/sim_container.h"
#include "sim/virtual_clock.h"
#include "tests/pictures/course.h"

namespace tessaro::testing {

// The process engine, with a handle on the recordsets it hands out so that a test can
// move a cursor behind the control's back or make its next move fail.
class SteerableEngine : public catalogue::Engine {
  public:
    class SteerableRecordset;

    std::shared_ptr<catalogue::Database> openDatabase(std::string_view path, bool exclusive,
                                                      bool readOnly,
                                                      std::string_view connect) override;

    // The recordset opened last, as the control sees it.
    catalogue::Recordset& lastRecordset() const;
    // The next moveNext on the recordset opened last fails with this number.
    void failNextMove(int number) const;

    // Called by the databases it opened.
    std::shared_ptr<catalogue::Recordset> track(std::shared_ptr<catalogue::Recordset> inner);

  private:
    std::shared_ptr<SteerableRecordset> last_;
};

// Hands every command and query on to the recorder after running the test's hook, so
// that a test can act at a chosen point inside a method (move the clock there).
class HookedCommandService : public media::CommandService {
  public:
    explicit HookedCommandService(media::CommandService& inner) : inner_(inner) {}

    bool execute(std::string_view command) override {
        if (beforeCommand)
            beforeCommand(command);
        return inner_.execute(command);
    }
    int sendString(std::string_view command, char* replyArea, unsigned replyLength,
                   std::intptr_t callbackWindow) override {
        if (beforeCommand)
            beforeCommand(command);
        return inner_.sendString(command, replyArea, replyLength, callbackWindow);
    }

    std::function<void(std::string_view command)> beforeCommand;

  private:
    media::CommandService& inner_;
};

// A control on the virtual clock over the real catalogue engine and the media
// interpreter on the sim backend, with a course in a temporary folder.
class Harness {
  public:
    Harness();

    // Declares narrations (ms long), pictures and videos below Resourcedir.
    void declareNarration(const std::string& name, double lengthMs);
    void declarePicture(const std::string& imageName);
    void declareDamagedPicture(const std::string& imageName);
    void declareVideo(const std::string& videoName, double lengthMs);

    // Sets Resourcedir and AsanaNaME, then clears what was recorded so far.
    void name(const std::string& asanaName);

    std::string narrationPath(const std::string& name) const;
    std::string picturePath(const std::string& imageName) const;
    // The command that opens a video of the course in Picture1, as the previews send it.
    std::string videoOpenCommand(const std::string& videoName) const;
    // The source of Picture1's picture, "" when it shows none.
    std::string shown() const;
    // Executed commands, queries left out.
    std::vector<std::string> executed() const { return commands.executed(); }
    // Runs the clock until VideoEnd has been raised, at most limitMs.
    bool runUntilVideoEnd(std::int64_t limitMs);
    int count(const std::string& event) const;

    Course course;
    sim::VirtualClock clock;
    sim::SimContainer container{clock};
    media::SimBackend* backend;
    media::Interpreter interpreter;
    sim::RecordingCommandService commands{interpreter};
    HookedCommandService hooked{commands};
    std::vector<std::string> mediaErrors;
    host::FixedModuleFolder moduleFolder{course.moduleDir()};
    SteerableEngine engine;
    KavoVideoSync control;
};

}  // namespace tessaro::testing
