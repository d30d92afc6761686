// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <tessaro/command_service.h>
#include "platform/media/device_forecast.h"
#include "platform/media/player_backend.h"

namespace tessaro::media {

// The command interpreter over a player backend: parses the classic command strings,
// keeps the open devices by alias (case-blind), converts times to each device's time
// format, and answers with the classic replies and error numbers. It also foresees what its
// devices will do, for hosts that wake only when a reply can change.
class Interpreter : public CommandService, public DeviceForecast {
  public:
    explicit Interpreter(std::unique_ptr<PlayerBackend> backend);
    ~Interpreter() override;

    bool execute(std::string_view command) override;
    int sendString(std::string_view command, char* replyArea, unsigned replyLength,
                   std::intptr_t callbackWindow) override;

    std::optional<double> msUntilStopped(std::string_view device) override;
    std::optional<double> msUntilPosition(std::string_view device, double position) override;
    int wakeOnUnforeseenChange(std::function<void()> wake) override;
    void forgetWake(int id) override;

    // Installs the reporter of failed execute() calls (by default: stderr).
    void setErrorReporter(ErrorReporter reporter);

    // The outcome of the latest command through either entry point: its error number
    // (0 when it succeeded) and error text, whether or not the failure was reported.
    struct Outcome {
        int number = 0;
        std::string text;
    };
    Outcome lastOutcome() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tessaro::media
