// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/media/command_service.h"
#include "platform/media/player_backend.h"

namespace tessaro::media {

// The command interpreter over a player backend: parses the classic command strings,
// keeps the open devices by alias (case-blind), converts times to each device's time
// format, and answers with the classic replies and error numbers.
class Interpreter : public CommandService {
  public:
    explicit Interpreter(std::unique_ptr<PlayerBackend> backend);
    ~Interpreter() override;

    bool execute(std::string_view command) override;
    unsigned sendString(std::string_view command, char* replyArea, unsigned replyLength,
                        std::intptr_t callbackWindow) override;

    // Installs the reporter of failed execute() calls (by default: stderr).
    void setErrorReporter(ErrorReporter reporter);

    // The outcome of the latest command through either entry point: its error number
    // (0 when it succeeded) and error text, whether or not the failure was reported.
    struct Outcome {
        unsigned number = 0;
        std::string text;
    };
    Outcome lastOutcome() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tessaro::media
