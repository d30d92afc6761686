#pragma once

#include <memory>
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

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tessaro::media
