// SPDX-License-Identifier: MIT
#include "platform/media/command_runner.h"

#include <cmath>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "platform/media/reply_format.h"
#include "platform/paths/paths.h"

namespace tessaro::media {
namespace {

[[noreturn]] void fail(int number, std::string text) {
    throw Error(static_cast<int>(number), std::move(text));
}

}  // namespace

CommandRunner::CommandRunner(std::unique_ptr<PlayerBackend> backend)
    : backend_(std::move(backend)) {}

std::string CommandRunner::run(const Command& command) {
    switch (command.verb) {
        case Verb::Open:
            open(command);
            return {};
        case Verb::Close:
            close(command);
            return {};
        case Verb::Play:
            openDevice(command).player->play();
            return {};
        case Verb::Pause:
            openDevice(command).player->pause();
            return {};
        case Verb::Resume: {
            Player& player = *openDevice(command).player;
            if (player.mode() == PlayerMode::Paused)
                player.play();
            return {};
        }
        case Verb::Stop:
            openDevice(command).player->stop();
            return {};
        case Verb::Seek:
            seek(command, openDevice(command));
            return {};
        case Verb::Set:
            setTimeFormat(command, openDevice(command));
            return {};
        case Verb::Status:
            return status(command, openDevice(command));
    }
    fail(errors::UnrecognizedCommand, "unknown command");
}

std::optional<Error> CommandRunner::takeStreamFailure(const Command& command) {
    Device* device = command.allDevices ? nullptr : devices_.find(command.device);
    return device ? device->player->takeStreamFailure() : std::nullopt;
}

Device& CommandRunner::openDevice(const Command& command) {
    Device* device = devices_.find(command.device);
    if (!device)
        fail(errors::DeviceNotOpen, "device not open");
    return *device;
}

void CommandRunner::open(const Command& command) {
    if (devices_.find(command.device))
        fail(errors::DuplicateAlias, "alias already in use");
    const std::string path = paths::resolve(command.open.element);
    std::unique_ptr<Player> player = backend_->open(path, command.open.parentWindow);
    player->signalChangesTo(changes_);
    devices_.add(command.device, std::move(player));
}

void CommandRunner::close(const Command& command) {
    if (command.allDevices)
        devices_.removeAll();
    else if (!devices_.remove(command.device))
        fail(errors::DeviceNotOpen, "device not open");
}

// Seeking leaves the device stopped at the new position, as the classic service does.
void CommandRunner::seek(const Command& command, Device& device) {
    Player& player = *device.player;
    const double lengthMs = player.lengthMs();
    double targetMs = 0;
    if (command.seekTarget == SeekTarget::End) {
        targetMs = lengthMs;
    } else if (command.seekTarget == SeekTarget::Position) {
        const double frameRate = player.frameRate();
        if (command.seekPosition > toDeviceUnits(lengthMs, device.timeFormat, frameRate))
            fail(errors::OutOfRange, "position past the end");
        targetMs = toMilliseconds(command.seekPosition, device.timeFormat, frameRate);
    }
    player.stop();
    player.seek(targetMs);
}

void CommandRunner::setTimeFormat(const Command& command, Device& device) {
    if (command.timeFormat == TimeFormat::Frames && device.player->frameRate() <= 0)
        fail(errors::BadTimeFormat, "no frames in a file without video");
    device.timeFormat = command.timeFormat;
}

std::string CommandRunner::status(const Command& command, Device& device) {
    Player& player = *device.player;
    switch (command.statusItem) {
        case StatusItem::Mode: {
            const PlayerMode mode = player.mode();
            device.seenPlaying = mode == PlayerMode::Playing;
            return std::string(modeReply(mode));
        }
        case StatusItem::Position:
            return numberReply(
                toDeviceUnits(player.positionMs(), device.timeFormat, player.frameRate()));
        case StatusItem::Length:
            return numberReply(
                toDeviceUnits(player.lengthMs(), device.timeFormat, player.frameRate()));
        case StatusItem::TimeFormat:
            return std::string(timeFormatName(device.timeFormat));
        case StatusItem::Ready:
            return "true";
        case StatusItem::FrameRate:
            // Frames per second times 1000, as the classic digital-video devices answer.
            return numberReply(std::llround(player.frameRate() * 1000.0));
    }
    fail(errors::UnsupportedFunction, "unknown status item");
}

}  // namespace tessaro::media
