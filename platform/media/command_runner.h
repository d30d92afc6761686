// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "platform/media/command_parser.h"
#include "platform/media/device_table.h"
#include "platform/media/player_backend.h"

namespace tessaro::media {

// Carries out parsed commands on the devices the service has open.
class CommandRunner {
  public:
    explicit CommandRunner(std::unique_ptr<PlayerBackend> backend);

    // Returns the command's reply ("" for a command that answers nothing). Throws
    // tessaro::Error with the service's number when the command fails; a failed open
    // leaves nothing open.
    std::string run(const Command& command);
    // The stream failure of the device the command named, handed out once (see
    // Player::takeStreamFailure); nullopt when it has none or is not open.
    std::optional<Error> takeStreamFailure(const Command& command);
    // The open device of that name, nullptr when none.
    Device* device(std::string_view name) { return devices_.find(name); }
    // Raised by the devices as they change unforeseen.
    ChangeSignal& changes() { return *changes_; }

  private:
    void open(const Command& command);
    void close(const Command& command);
    void seek(const Command& command, Device& device);
    void setTimeFormat(const Command& command, Device& device);
    std::string status(const Command& command, Device& device);
    Device& openDevice(const Command& command);

    std::unique_ptr<PlayerBackend> backend_;
    std::shared_ptr<ChangeSignal> changes_ = std::make_shared<ChangeSignal>();
    DeviceTable devices_;
};

}  // namespace tessaro::media
